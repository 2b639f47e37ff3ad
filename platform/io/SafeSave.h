// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Files the program writes are replaced whole or not at all.
#include <QByteArray>
#include <QString>
#include <memory>

#include "tallyvane_platform_export.h"

class QFileDevice;
class QIODevice;

// A file written to a temporary file in the target's folder and renamed over
// the target once complete. Until Commit succeeds the target keeps its old
// content; Cancel, destruction without Commit, and a terminating signal
// (SIGTERM, SIGHUP, SIGINT) remove the temporary file. An existing target
// that is a device rather than a file (e.g. /dev/full) is written in place:
// there is nothing to keep, and renaming over it would replace the device.
// A symbolic link is replaced by the new file, not written through.
// Every failure raises EInOutError naming the file and the reason.
class TALLYVANE_PLATFORM_EXPORT TSafeFile {
 public:
  explicit TSafeFile(QString fileName);
  ~TSafeFile();
  TSafeFile(const TSafeFile&) = delete;
  TSafeFile& operator=(const TSafeFile&) = delete;

  void Open();
  // For writers that report no errors themselves (QPdfWriter): a write that
  // fails there is remembered, and Failed / Commit report it.
  QIODevice* Device();
  // A write failed and the temporary file is gone; Reason says why.
  bool Failed() const { return !file_ && !reason_.isEmpty(); }
  void Write(const char* data, qint64 size);
  void Write(const QByteArray& bytes) { Write(bytes.constData(), bytes.size()); }
  // Flushes, syncs to the disk and renames over the target.
  void Commit();
  void Cancel() noexcept;
  bool IsOpen() const { return file_ != nullptr; }
  const QString& FileName() const { return fileName_; }
  // The reason of the last failure, without the file's name.
  const QString& Reason() const { return reason_; }

 private:
  class Sink;
  [[noreturn]] void Fail(const QString& reason);
  [[noreturn]] void FailWithErrno(int error);
  void WriteOut(const char* data, qint64 size);

  QString fileName_;
  QString reason_;
  std::unique_ptr<QFileDevice> file_;
  enum class Mode { Save, InPlace, ReplaceLink } mode_ = Mode::Save;
  int cleanupSlot_ = -1;
  // Written out in large pieces by the program itself, so that every failure
  // comes with the system's own reason.
  QByteArray buffer_;
  std::unique_ptr<Sink> sink_;
};

// Writes bytes through a TSafeFile: the target gets them all or stays as it was.
TALLYVANE_PLATFORM_EXPORT void SaveFileSafely(const QString& fileName, const QByteArray& bytes);
