#pragma once
// Files the program writes are replaced whole or not at all.
#include <QByteArray>
#include <QString>

// Writes bytes to a temporary file in the target's folder and renames it over
// the target. On any failure the target is left as it was, no temporary file
// remains, and EInOutError names the file and the reason. An existing target
// that is a device rather than a file is written in place (nothing to keep).
void SaveFileSafely(const QString& fileName, const QByteArray& bytes);
