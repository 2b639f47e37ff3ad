// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// One exception hierarchy for the whole program. Every error carries the text
// that the default error report shows to the user.
#include <QByteArray>
#include <QString>
#include <exception>

#include "tallyvane_platform_export.h"

class TALLYVANE_PLATFORM_EXPORT Exception : public std::exception {
 public:
  explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
  const QString& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return utf8_.constData(); }

 private:
  QString message_;
  QByteArray utf8_;
};

// The printer object failed, typically because no printer is installed.
class TALLYVANE_PLATFORM_EXPORT EPrinter : public Exception {
 public:
  using Exception::Exception;
};

// A text could not be converted to a number or a date.
class TALLYVANE_PLATFORM_EXPORT EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Floating-point failures are checked by code, never trapped by hardware.
class TALLYVANE_PLATFORM_EXPORT EZeroDivide : public Exception {
 public:
  EZeroDivide() : Exception(QStringLiteral("Floating point division by zero")) {}
};

class TALLYVANE_PLATFORM_EXPORT EInvalidOp : public Exception {
 public:
  EInvalidOp() : Exception(QStringLiteral("Invalid floating point operation")) {}
};

// A file could not be opened, written or closed.
class TALLYVANE_PLATFORM_EXPORT EInOutError : public Exception {
 public:
  using Exception::Exception;
};

// An argument outside the domain of a routine (the payment routine raises "Payment").
class TALLYVANE_PLATFORM_EXPORT EArgumentError : public Exception {
 public:
  using Exception::Exception;
};
