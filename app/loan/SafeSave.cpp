#include "SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "Errors.h"

namespace {

[[noreturn]] void SaveFailed(const QString& fileName, const QString& reason) {
  throw EInOutError(QStringLiteral("Cannot save \"%1\": %2").arg(QDir::toNativeSeparators(fileName), reason));
}

// Writes on after a short write, so a failure comes with its reason.
bool WriteAll(QFileDevice& file, const QByteArray& bytes) {
  qint64 done = 0;
  while (done < bytes.size()) {
    const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
    if (n <= 0) return false;
    done += n;
  }
  return file.flush();
}

void WriteInPlace(const QString& fileName, const QByteArray& bytes) {
  QFile device(fileName);
  if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) SaveFailed(fileName, device.errorString());
  if (!WriteAll(device, bytes)) SaveFailed(fileName, device.errorString());
}

}  // namespace

void SaveFileSafely(const QString& fileName, const QByteArray& bytes) {
  const QFileInfo target(fileName);
  // Renaming a temporary file over a device would replace the device itself.
  if (target.exists() && !target.isFile() && !target.isDir()) return WriteInPlace(fileName, bytes);
  QSaveFile file(fileName);
  // Unbuffered: a short write is seen here. Qt's commit would otherwise flush
  // the buffer itself, ignore a failure there and rename a truncated file.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) SaveFailed(fileName, file.errorString());
  if (!WriteAll(file, bytes)) {
    const QString reason = file.errorString();
    file.cancelWriting();
    SaveFailed(fileName, reason);
  }
  if (!file.commit()) SaveFailed(fileName, file.errorString());
}
