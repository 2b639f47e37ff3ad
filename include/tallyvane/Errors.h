// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
/// \file
/// One exception hierarchy for the whole program. Every error carries the text
/// that the default error report (Application::ShowException) shows to the user.
#include <QByteArray>
#include <QString>
#include <exception>

#include "tallyvane_platform_export.h"

/// The base of every error the components raise: a message for the user.
class TALLYVANE_PLATFORM_EXPORT Exception : public std::exception {
 public:
  /// An error with this message (shown as it is; fixed English texts).
  explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
  /// The message, as given.
  const QString& Message() const noexcept { return message_; }
  /// The message in UTF-8, for code that only knows std::exception.
  const char* what() const noexcept override { return utf8_.constData(); }

 private:
  QString message_;
  QByteArray utf8_;
};

/// The printer object failed, typically because no printer is installed
/// ("There is no default printer currently selected"), or a job could not be sent.
class TALLYVANE_PLATFORM_EXPORT EPrinter : public Exception {
 public:
  using Exception::Exception;
};

/// A text could not be converted to a number, a date or a font ("'abc' is not a valid ...").
class TALLYVANE_PLATFORM_EXPORT EConvertError : public Exception {
 public:
  using Exception::Exception;
};

/// A division by zero in floating point: "Floating point division by zero".
/// Floating-point failures are checked by code, never trapped by hardware.
class TALLYVANE_PLATFORM_EXPORT EZeroDivide : public Exception {
 public:
  /// The error with its fixed message.
  EZeroDivide() : Exception(QStringLiteral("Floating point division by zero")) {}
};

/// An invalid floating-point operation (a NaN, an overflow): "Invalid floating point operation".
class TALLYVANE_PLATFORM_EXPORT EInvalidOp : public Exception {
 public:
  /// The error with its fixed message.
  EInvalidOp() : Exception(QStringLiteral("Invalid floating point operation")) {}
};

/// A file could not be opened, written or closed; the message names the file and the reason.
class TALLYVANE_PLATFORM_EXPORT EInOutError : public Exception {
 public:
  using Exception::Exception;
};

/// An argument outside the domain of a routine (the payment routine raises "Payment").
class TALLYVANE_PLATFORM_EXPORT EArgumentError : public Exception {
 public:
  using Exception::Exception;
};
