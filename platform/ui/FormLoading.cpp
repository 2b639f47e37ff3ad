// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "FormLoading.h"

#include <algorithm>

namespace {
FormLoading* g_active = nullptr;
std::vector<FormLoading*>& Scopes() {
  static std::vector<FormLoading*> scopes;
  return scopes;
}
}  // namespace

TLoadable::TLoadable() {
  if (g_active) {
    loading_ = true;
    g_active->components_.push_back(this);
  }
}

TLoadable::~TLoadable() {
  // A component destroyed while its form loads must not be finished later.
  for (FormLoading* scope : Scopes()) {
    auto& list = scope->components_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
}

FormLoading::FormLoading() : previous_(g_active) {
  g_active = this;
  Scopes().push_back(this);
}

FormLoading::~FormLoading() {
  for (TLoadable* c : components_) c->loading_ = false;
  components_.clear();
  if (g_active == this) g_active = previous_;
  auto& scopes = Scopes();
  scopes.erase(std::remove(scopes.begin(), scopes.end(), this), scopes.end());
}

void FormLoading::Finish() {
  if (g_active == this) g_active = previous_;
  std::vector<TLoadable*> components;
  components.swap(components_);
  for (TLoadable* c : components) c->Loaded();
}

bool FormLoading::Active() { return g_active != nullptr; }

void FormLoading::Adopt(TLoadable* component) {
  component->loading_ = true;
  components_.push_back(component);
}
