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

}  // namespace

TSafeFile::TSafeFile(QString fileName) : fileName_(std::move(fileName)) {}

TSafeFile::~TSafeFile() { Cancel(); }

void TSafeFile::Fail(const QString& reason) {
  reason_ = reason;
  Cancel();
  throw EInOutError(CannotSave(fileName_, reason));
}

void TSafeFile::Open() {
  Cancel();
  if (fileName_.isEmpty()) Fail(QStringLiteral("no file name given"));
  // The system would stop reading the name at a NUL and write another file.
  if (fileName_.contains(QChar(u'\0'))) Fail(QStringLiteral("the name holds a NUL character"));
  const QFileInfo target(fileName_);
  mode_ = target.isSymLink()                                     ? Mode::ReplaceLink
          : target.exists() && !target.isFile() && !target.isDir() ? Mode::InPlace
                                                                   : Mode::Save;
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
  const bool opened = mode_ == Mode::ReplaceLink ? static_cast<QTemporaryFile*>(file_.get())->open()
                                                 : file_->open(QIODevice::WriteOnly);
  if (!opened) Fail(file_->errorString());
  if (mode_ == Mode::ReplaceLink) file_->setPermissions(target.permissions());
  if (mode_ != Mode::InPlace) cleanupSlot_ = signal_cleanup::RemoveOnSignal(PathOfDescriptor(file_->handle()));
}

QIODevice* TSafeFile::Device() { return file_.get(); }

void TSafeFile::Write(const char* data, qint64 size) {
  if (!file_) return;
  qint64 done = 0;
  while (done < size) {
    const qint64 n = file_->write(data + done, size - done);
    if (n <= 0) Fail(file_->errorString());
    done += n;
  }
}

void TSafeFile::Commit() {
  if (!file_) Fail(QStringLiteral("the file is not open"));
  // Qt's commit would flush the buffer itself, ignore a failure there and
  // rename a truncated file; so the flush and the sync are checked here.
  if (file_->error() != QFileDevice::NoError || !file_->flush()) Fail(file_->errorString());
  if (mode_ != Mode::InPlace && ::fsync(file_->handle()) != 0) Fail(QString::fromLocal8Bit(std::strerror(errno)));
  if (mode_ == Mode::InPlace) {
    file_->close();
    if (file_->error() != QFileDevice::NoError) Fail(file_->errorString());
  } else if (mode_ == Mode::ReplaceLink) {
    auto* temp = static_cast<QTemporaryFile*>(file_.get());
    if (::rename(QFile::encodeName(temp->fileName()).constData(), QFile::encodeName(fileName_).constData()) != 0)
      Fail(QString::fromLocal8Bit(std::strerror(errno)));
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
