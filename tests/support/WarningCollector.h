// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Collects the warnings Qt's message handler receives while it lives.
#include <QString>
#include <QStringList>
#include <QtGlobal>

class WarningCollector {
 public:
  WarningCollector() : outer_(active_) {
    active_ = this;
    previous_ = qInstallMessageHandler(&Collect);
  }
  ~WarningCollector() {
    qInstallMessageHandler(previous_);
    active_ = outer_;
  }
  WarningCollector(const WarningCollector&) = delete;
  WarningCollector& operator=(const WarningCollector&) = delete;
  const QStringList& Warnings() const { return warnings_; }

 private:
  static void Collect(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg && active_) active_->warnings_.append(message);
  }
  static inline WarningCollector* active_ = nullptr;
  WarningCollector* outer_;
  QtMessageHandler previous_ = nullptr;
  QStringList warnings_;
};
