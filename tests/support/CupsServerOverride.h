// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Points this process's CUPS client at a server of the test's choosing (a
// private scheduler's socket, or a path where none listens, which refuses at
// once) for the lifetime of the override, and keeps the user's default-queue
// variables out of the way.
#include <QByteArray>
#include <QString>
#include <dlfcn.h>

class CupsServerOverride {
 public:
  explicit CupsServerOverride(const QString& server) {
    for (Saved& s : saved_) {
      s.had = qEnvironmentVariableIsSet(s.name);
      s.value = qgetenv(s.name);
    }
    qputenv("CUPS_SERVER", server.toLocal8Bit());
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    ForgetCachedServer();
  }
  ~CupsServerOverride() {
    for (const Saved& s : saved_) s.had ? qputenv(s.name, s.value) : qunsetenv(s.name);
    ForgetCachedServer();
  }
  CupsServerOverride(const CupsServerOverride&) = delete;
  CupsServerOverride& operator=(const CupsServerOverride&) = delete;

 private:
  // libcups reads CUPS_SERVER once and keeps it; cupsSetServer(nullptr) makes it read again.
  static void ForgetCachedServer() {
    void* cups = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!cups) return;
    if (auto setServer = reinterpret_cast<void (*)(const char*)>(dlsym(cups, "cupsSetServer"))) setServer(nullptr);
    dlclose(cups);
  }
  struct Saved {
    const char* name;
    bool had = false;
    QByteArray value;
  };
  Saved saved_[3] = {{"CUPS_SERVER", false, {}}, {"PRINTER", false, {}}, {"LPDEST", false, {}}};
};
