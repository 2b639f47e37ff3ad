// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Counts this process's open file descriptors, so that a test can see that a
// failed command left no file or job open behind it. What the toolkit opens
// lazily on its own and keeps for the life of the process (font files and the
// font cache, event and wake-up descriptors of its threads) does not count, or
// the first drawing in a test program would look like a leak.
#include <filesystem>
#include <string>
#include <system_error>

inline bool IsToolkitDescriptor(const std::string& target) {
  return target.rfind("anon_inode:", 0) == 0 || target.rfind("pipe:", 0) == 0 ||
         target.find("/fonts/") != std::string::npos || target.find("fontconfig") != std::string::npos;
}

inline int OpenDescriptors() {
  int n = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(entry.path(), error);
    if (error || !IsToolkitDescriptor(target.string())) ++n;
  }
  return n;
}
