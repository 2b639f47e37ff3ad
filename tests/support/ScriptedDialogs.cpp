// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "ScriptedDialogs.h"

void ScriptedDialogs::Noted(const Event& event) {
  if (OnEvent) OnEvent(event);
}

bool ScriptedDialogs::Answer(QString& value) {
  if (answers_.empty()) return false;  // nothing scripted: the user cancels
  std::optional<QString> answer = std::move(answers_.front());
  answers_.pop_front();
  if (!answer) return false;
  value = *answer;
  return true;
}
