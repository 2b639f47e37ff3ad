// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cstdio>
#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "Errors.h"
#include "SignalCleanup.h"

namespace {

QString CannotSave(const QString& fileName, const QString& reason) {
  return QStringLiteral("Cannot save \"%1\": %2").arg(QDir::toNativeSeparators(fileName), reason);
}

// The temporary name QSaveFile chose, for removal by a signal handler.
QByteArray PathOfDescriptor(int fd) {
  char link[4096];
  const QByteArray proc = "/proc/self/fd/" + QByteArray::number(fd);
  const ssize_t n = ::readlink(proc.constData(), link, sizeof link - 1);
  return n > 0 ? QByteArray(link, int(n)) : QByteArray();
}

constexpr qsizetype kBufferSize = 1 << 16;

}  // namespace

// The device that QPdfWriter writes to. It never throws into Qt: a failure
// stays with the file, which is then no longer open.
class TSafeFile::Sink final : public QIODevice {
 public:
  explicit Sink(TSafeFile& file) : file_(file) {}

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    if (!file_.IsOpen()) return -1;
    try {
      file_.Write(data, size);
    } catch (const EInOutError&) {
      setErrorString(file_.Reason());
      return -1;
    }
    return size;
  }

 private:
  TSafeFile& file_;
};

TSafeFile::TSafeFile(QString fileName) : fileName_(std::move(fileName)) {}

TSafeFile::~TSafeFile() { Cancel(); }

void TSafeFile::FailWithErrno(int error) { Fail(QString::fromLocal8Bit(std::strerror(error))); }

void TSafeFile::Fail(const QString& reason) {
  reason_ = reason;
  Cancel();
  throw EInOutError(CannotSave(fileName_, reason));
}

void TSafeFile::Open() {
  Cancel();
  reason_.clear();
  if (fileName_.isEmpty()) Fail(QStringLiteral("no file name given"));
  // The system would stop reading the name at a NUL and write another file.
  if (fileName_.contains(QChar(u'\0'))) Fail(QStringLiteral("the name holds a NUL character"));
  const QFileInfo target(fileName_);
  // A folder cannot be replaced by a file; the system's own answer names it so.
  if (target.isDir() && !target.isSymLink()) Fail(QString::fromLocal8Bit(std::strerror(EISDIR)));
  // The temporary file's name may be shortened to fit, the final rename could
  // not: a name the folder cannot hold fails here, before anything is written.
  const QByteArray leaf = QFile::encodeName(target.fileName());
  const long nameMax = ::pathconf(QFile::encodeName(target.absolutePath()).constData(), _PC_NAME_MAX);
  if (leaf.size() > (nameMax > 0 ? nameMax : 255)) Fail(QString::fromLocal8Bit(std::strerror(ENAMETOOLONG)));
  mode_ = target.isSymLink() ? Mode::ReplaceLink : target.exists() && !target.isFile() ? Mode::InPlace : Mode::Save;
  if (mode_ == Mode::InPlace) {
    file_ = std::make_unique<QFile>(fileName_);
  } else if (mode_ == Mode::ReplaceLink) {
    // QSaveFile would write to the link's target; the link itself is what the name means.
    file_ = std::make_unique<QTemporaryFile>(fileName_ + QStringLiteral(".XXXXXX"));
  } else {
    auto save = std::make_unique<QSaveFile>(fileName_);
    // Without the folder's write permission there is no safe way to replace the file.
    save->setDirectWriteFallback(false);
    file_ = std::move(save);
  }
  // Unbuffered: the data go through buffer_ and plain writes, never Qt's buffer.
  const QIODevice::OpenMode access = mode_ == Mode::ReplaceLink ? QIODevice::ReadWrite : QIODevice::WriteOnly;
  const bool opened = file_->open(access | QIODevice::Unbuffered);
  if (!opened) Fail(file_->errorString());
  if (mode_ == Mode::ReplaceLink) file_->setPermissions(target.permissions());
  if (mode_ != Mode::InPlace) cleanupSlot_ = signal_cleanup::RemoveOnSignal(PathOfDescriptor(file_->handle()));
}

QIODevice* TSafeFile::Device() {
  if (!sink_) sink_ = std::make_unique<Sink>(*this);
  if (!sink_->isOpen()) sink_->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
  return sink_.get();
}

void TSafeFile::Write(const char* data, qint64 size) {
  if (!file_ || size <= 0) return;
  if (buffer_.size() + size <= kBufferSize) {
    buffer_.append(data, size);
    if (buffer_.size() < kBufferSize) return;
    WriteOut(buffer_.constData(), buffer_.size());
    buffer_.clear();
    return;
  }
  WriteOut(buffer_.constData(), buffer_.size());
  buffer_.clear();
  if (size >= kBufferSize)
    WriteOut(data, size);
  else
    buffer_.append(data, size);
}

void TSafeFile::WriteOut(const char* data, qint64 size) {
  const int fd = file_->handle();
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size_t(size));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) FailWithErrno(errno);
    if (n == 0) FailWithErrno(ENOSPC);
    data += n;
    size -= n;
  }
}

void TSafeFile::Commit() {
  if (!file_) Fail(reason_.isEmpty() ? QStringLiteral("the file is not open") : reason_);
  // Qt's commit would ignore a failed final flush and rename a truncated
  // file; so the data and the sync are checked here before it runs.
  WriteOut(buffer_.constData(), buffer_.size());
  buffer_.clear();
  if (file_->error() != QFileDevice::NoError) Fail(file_->errorString());
  if (mode_ != Mode::InPlace && ::fsync(file_->handle()) != 0) FailWithErrno(errno);
  if (mode_ == Mode::InPlace) {
    file_->close();
    if (file_->error() != QFileDevice::NoError) Fail(file_->errorString());
  } else if (mode_ == Mode::ReplaceLink) {
    auto* temp = static_cast<QTemporaryFile*>(file_.get());
    if (::rename(QFile::encodeName(temp->fileName()).constData(), QFile::encodeName(fileName_).constData()) != 0)
      FailWithErrno(errno);
    temp->setAutoRemove(false);
  } else {
    auto* save = static_cast<QSaveFile*>(file_.get());
    if (!save->commit()) {
      const QString reason = save->errorString();
      Fail(reason);
    }
  }
  signal_cleanup::Forget(cleanupSlot_);
  cleanupSlot_ = -1;
  file_.reset();
}

void TSafeFile::Cancel() noexcept {
  buffer_.clear();
  if (file_ && mode_ == Mode::Save) static_cast<QSaveFile*>(file_.get())->cancelWriting();
  file_.reset();  // an uncommitted QSaveFile or QTemporaryFile removes its temporary file
  signal_cleanup::Forget(cleanupSlot_);
  cleanupSlot_ = -1;
}

void SaveFileSafely(const QString& fileName, const QByteArray& bytes) {
  TSafeFile file(fileName);
  file.Open();
  file.Write(bytes);
  file.Commit();
}
