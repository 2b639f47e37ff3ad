// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "SignalCleanup.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <mutex>
#include <unistd.h>

namespace signal_cleanup {
namespace {

// Plain fixed storage: the handler may only read memory and call unlink.
struct Slot {
  std::atomic<bool> used{false};
  char path[4096];
};
std::array<Slot, 16> cleanupSlots;
std::mutex claimMutex;
constexpr std::array kSignals{SIGTERM, SIGHUP, SIGINT};

extern "C" void RemoveAndResignal(int sig) {
  for (Slot& s : cleanupSlots)
    if (s.used.load()) ::unlink(s.path);
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

void InstallOnce() {
  static const bool installed = [] {
    for (int sig : kSignals) {
      struct sigaction current {};
      if (sigaction(sig, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
      struct sigaction action {};
      action.sa_handler = RemoveAndResignal;
      sigemptyset(&action.sa_mask);
      sigaction(sig, &action, nullptr);
    }
    return true;
  }();
  (void)installed;
}

}  // namespace

int RemoveOnSignal(const QByteArray& path) {
  if (path.isEmpty() || size_t(path.size()) >= sizeof(Slot::path)) return -1;
  InstallOnce();
  std::lock_guard lock(claimMutex);
  for (size_t i = 0; i < cleanupSlots.size(); ++i) {
    if (cleanupSlots[i].used.load()) continue;
    std::memcpy(cleanupSlots[i].path, path.constData(), size_t(path.size()) + 1);
    cleanupSlots[i].used.store(true);
    return int(i);
  }
  return -1;
}

void Forget(int slot) noexcept {
  if (slot >= 0 && size_t(slot) < cleanupSlots.size()) cleanupSlots[size_t(slot)].used.store(false);
}

}  // namespace signal_cleanup
