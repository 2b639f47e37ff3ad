// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
/// \file
/// Loading state for components placed on a form: while a form's setupUi runs
/// inside a FormLoading scope, components created there register themselves and
/// see Loading() true, so their property setters know they are being loaded.
/// Finish() ends the state and runs every component's Loaded() in creation order.
#include <vector>

#include "tallyvane_platform_export.h"

/// A component that can be loaded from a form (a base of TPagePrinter).
class TALLYVANE_PLATFORM_EXPORT TLoadable {
 public:
  /// Leaves any FormLoading scope that still lists it.
  virtual ~TLoadable();
  /// True while the component is being loaded (its properties set from a form).
  bool Loading() const { return loading_; }
  /// Runs once the form's properties are all set (FormLoading::Finish); ends Loading.
  virtual void Loaded() { loading_ = false; }

 protected:
  TLoadable();  ///< Registers with the active FormLoading scope, if any.

 private:
  friend class FormLoading;
  bool loading_ = false;
};

/// A scope in which a form is loaded (see the file's description).
class TALLYVANE_PLATFORM_EXPORT FormLoading {
 public:
  /// Opens the scope; components created from now on are loaded in it (scopes nest).
  FormLoading();
  ~FormLoading();  ///< Closes the scope; components not finished are taken out of the loading state silently.
  /// Ends the loading state and runs every component's Loaded() in creation order.
  void Finish();
  /// True while any scope is open and not finished.
  static bool Active();
  /// Puts a component that was created outside a form into the loading state (stored descriptions).
  void Adopt(TLoadable* component);

 private:
  friend class TLoadable;
  std::vector<TLoadable*> components_;
  FormLoading* previous_;
};
