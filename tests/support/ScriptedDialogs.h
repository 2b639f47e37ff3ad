// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Dialogs for tests: what was shown is recorded and queries are answered from a script.
#include <deque>
#include <functional>
#include <optional>

#include "Dialogs.h"

class ScriptedDialogs : public UnattendedDialogs {
 public:
  // Next query answer: a text accepted with OK, or std::nullopt for Cancel.
  // Queries beyond the script are cancelled.
  void QueueAnswer(std::optional<QString> answer) { answers_.push_back(std::move(answer)); }
  // Called while a message is "shown" (for instance to check the focus at that moment).
  std::function<void(const Event&)> OnEvent;

 protected:
  void Noted(const Event& event) override;
  bool Answer(QString& value) override;

 private:
  std::deque<std::optional<QString>> answers_;
};
