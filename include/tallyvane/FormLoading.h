// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Loading state for components placed on a form: while a form's setupUi runs
// inside a FormLoading scope, components created there register themselves and
// see Loading() true, so their property setters know they are being loaded.
// Finish() ends the state and runs every component's Loaded() in creation order.
#include <vector>

#include "tallyvane_platform_export.h"

class TALLYVANE_PLATFORM_EXPORT TLoadable {
 public:
  virtual ~TLoadable();
  bool Loading() const { return loading_; }
  virtual void Loaded() { loading_ = false; }

 protected:
  TLoadable();  // registers with the active FormLoading scope, if any

 private:
  friend class FormLoading;
  bool loading_ = false;
};

class TALLYVANE_PLATFORM_EXPORT FormLoading {
 public:
  FormLoading();
  ~FormLoading();  // components not finished are taken out of the loading state silently
  void Finish();
  static bool Active();
  // Puts a component that was created outside a form into the loading state (stored descriptions).
  void Adopt(TLoadable* component);

 private:
  friend class TLoadable;
  std::vector<TLoadable*> components_;
  FormLoading* previous_;
};
