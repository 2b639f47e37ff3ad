#pragma once
// One exception hierarchy for the whole program. Every error carries the text
// that the default error report shows to the user.
#include <QByteArray>
#include <QString>
#include <exception>

class Exception : public std::exception {
 public:
  explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
  const QString& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return utf8_.constData(); }

 private:
  QString message_;
  QByteArray utf8_;
};

// The printer object failed, typically because no printer is installed.
class EPrinter : public Exception {
 public:
  using Exception::Exception;
};

// A text could not be converted to a number or a date.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Floating-point failures are checked by code, never trapped by hardware.
class EZeroDivide : public Exception {
 public:
  EZeroDivide() : Exception(QStringLiteral("Floating point division by zero")) {}
};

class EInvalidOp : public Exception {
 public:
  EInvalidOp() : Exception(QStringLiteral("Invalid floating point operation")) {}
};

// A file could not be opened, written or closed.
class EInOutError : public Exception {
 public:
  using Exception::Exception;
};

// An argument outside the domain of a routine (the payment routine raises "Payment").
class EArgumentError : public Exception {
 public:
  using Exception::Exception;
};
