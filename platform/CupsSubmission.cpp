#include "CupsSubmission.h"

#include <QByteArray>
#include <QFile>
#include <algorithm>
#include <dlfcn.h>
#include <vector>

#include "Errors.h"

namespace cups {
namespace {
// libcups is the library Qt's CUPS support already loads; it is reached at run
// time so that building needs no CUPS headers.
struct Option {
  char* name;
  char* value;
};
using PrintFileFn = int (*)(const char* printer, const char* file, const char* title, int optionCount,
                            Option* options);
using LastErrorStringFn = const char* (*)();

struct Library {
  PrintFileFn printFile = nullptr;
  LastErrorStringFn lastErrorString = nullptr;
};

const Library& Load() {
  static const Library library = [] {
    Library lib;
    void* handle = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!handle) return lib;
    lib.printFile = reinterpret_cast<PrintFileFn>(dlsym(handle, "cupsPrintFile"));
    lib.lastErrorString = reinterpret_cast<LastErrorStringFn>(dlsym(handle, "cupsLastErrorString"));
    return lib;
  }();
  return library;
}
}  // namespace

void Submit(const QString& queue, const QString& file, const QString& title, int copies, const QString& media) {
  const Library& lib = Load();
  if (!lib.printFile) throw EPrinter(QStringLiteral("The CUPS library (libcups.so.2) is not available"));
  QByteArray copiesValue = QByteArray::number(std::max(1, copies));
  QByteArray mediaValue = media.toUtf8();
  QByteArray copiesName("copies"), mediaName("media");
  std::vector<Option> options;
  if (!mediaValue.isEmpty()) options.push_back({mediaName.data(), mediaValue.data()});
  if (copies > 1) options.push_back({copiesName.data(), copiesValue.data()});
  const int job = lib.printFile(queue.toLocal8Bit().constData(), QFile::encodeName(file).constData(),
                                title.toUtf8().constData(), int(options.size()), options.data());
  if (job <= 0) {
    const QString reason = lib.lastErrorString ? QString::fromUtf8(lib.lastErrorString()) : QString();
    throw EPrinter(QStringLiteral("The print job could not be sent to printer \"%1\"%2")
                       .arg(queue, reason.isEmpty() ? QString() : QStringLiteral(": ") + reason));
  }
}
}  // namespace cups
