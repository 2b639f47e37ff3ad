// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Files that must not outlive the program when a signal ends it: temporary
// files of unfinished writes and print spools. The handler (SIGTERM, SIGHUP,
// SIGINT, installed where the signal still has its default action) removes
// them and ends the program with the signal as before.
#include <QByteArray>

#include "tallyvane_platform_export.h"

namespace signal_cleanup {
// Returns a slot for Forget, or -1 when the path is empty or every slot is taken.
TALLYVANE_PLATFORM_EXPORT int RemoveOnSignal(const QByteArray& path);
void Forget(int slot) noexcept;
}  // namespace signal_cleanup
