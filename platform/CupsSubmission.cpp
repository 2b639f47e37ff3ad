#include "CupsSubmission.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QIODevice>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <dlfcn.h>
#include <functional>
#include <sys/socket.h>
#include <thread>

#include "Errors.h"

namespace cups {
namespace {

// libcups is the library Qt's CUPS support already loads; it is reached at run
// time so that building needs no CUPS headers. The declarations follow <cups/cups.h>.
struct Option {
  char* name;
  char* value;
};
struct Dest {
  char* name;
  char* instance;
  int isDefault;
  int optionCount;
  Option* options;
};
struct Http;
using TimeoutCallback = int (*)(Http*, void*);
constexpr int kHttpContinue = 100;
constexpr int kIppLastSuccess = 0x00ff;

struct Library {
  Http* (*connect2)(const char*, int, void*, int, int, int, int, int*) = nullptr;
  void (*close)(Http*) = nullptr;
  int (*getFd)(Http*) = nullptr;
  void (*setTimeout)(Http*, double, TimeoutCallback, void*) = nullptr;
  const char* (*server)() = nullptr;
  int (*port)() = nullptr;
  int (*encryption)() = nullptr;
  Dest* (*getNamedDest)(Http*, const char*, const char*) = nullptr;
  void (*freeDests)(int, Dest*) = nullptr;
  int (*addOption)(const char*, const char*, int, Option**) = nullptr;
  void (*freeOptions)(int, Option*) = nullptr;
  int (*createJob)(Http*, const char*, const char*, int, Option*) = nullptr;
  int (*startDocument)(Http*, const char*, int, const char*, const char*, int) = nullptr;
  int (*writeRequestData)(Http*, const char*, size_t) = nullptr;
  int (*finishDocument)(Http*, const char*) = nullptr;
  int (*cancelJob2)(Http*, const char*, int, int) = nullptr;
  const char* (*lastErrorString)() = nullptr;
  bool ok = false;
};

template <typename F>
void Bind(void* handle, F& slot, const char* name, bool& ok) {
  slot = reinterpret_cast<F>(dlsym(handle, name));
  ok = ok && slot != nullptr;
}

const Library& Load() {
  static const Library library = [] {
    Library lib;
    void* h = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!h) return lib;
    bool ok = true;
    Bind(h, lib.connect2, "httpConnect2", ok);
    Bind(h, lib.close, "httpClose", ok);
    Bind(h, lib.getFd, "httpGetFd", ok);
    Bind(h, lib.setTimeout, "httpSetTimeout", ok);
    Bind(h, lib.server, "cupsServer", ok);
    Bind(h, lib.port, "ippPort", ok);
    Bind(h, lib.encryption, "cupsEncryption", ok);
    Bind(h, lib.getNamedDest, "cupsGetNamedDest", ok);
    Bind(h, lib.freeDests, "cupsFreeDests", ok);
    Bind(h, lib.addOption, "cupsAddOption", ok);
    Bind(h, lib.freeOptions, "cupsFreeOptions", ok);
    Bind(h, lib.createJob, "cupsCreateJob", ok);
    Bind(h, lib.startDocument, "cupsStartDocument", ok);
    Bind(h, lib.writeRequestData, "cupsWriteRequestData", ok);
    Bind(h, lib.finishDocument, "cupsFinishDocument", ok);
    Bind(h, lib.cancelJob2, "cupsCancelJob2", ok);
    Bind(h, lib.lastErrorString, "cupsLastErrorString", ok);
    lib.ok = ok;
    return lib;
  }();
  return library;
}

using Clock = std::chrono::steady_clock;
constexpr int kConnectMs = 3000;
// How long a server may stay silent while a job is sent.
constexpr auto kSilence = std::chrono::seconds(5);

// One connection to the server, its waits bounded by the callback below.
class Connection {
 public:
  explicit Connection(const Library& lib) : lib_(lib) {
    http_ = lib.connect2(lib.server(), lib.port(), nullptr, 0 /* AF_UNSPEC */, lib.encryption(), 1, kConnectMs,
                         nullptr);
    if (http_) lib.setTimeout(http_, 0.5, &Connection::KeepWaiting, this);
  }
  ~Connection() {
    if (http_) lib_.close(http_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  Http* get() const { return http_; }

  // Runs the requests on a worker thread until they finish or the server has
  // been silent too long (or the overall deadline passed); the socket is then
  // shut down, which ends any wait inside libcups. Returns false on time-out.
  bool Run(const std::function<void()>& requests, Clock::time_point deadline, bool processEvents) {
    Touch();
    std::atomic<bool> done{false};
    std::thread worker([&] {
      requests();
      done = true;
    });
    bool timedOut = false;
    while (!done) {
      if (processEvents) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      const auto now = Clock::now();
      if (!timedOut && (now > deadline || now - Clock::time_point(Clock::duration(lastActivity_)) > kSilence)) {
        timedOut = true;
        expired_ = true;
        ::shutdown(lib_.getFd(http_), SHUT_RDWR);
      }
    }
    worker.join();
    return !timedOut;
  }
  // Called by the worker after each piece of progress.
  void Touch() { lastActivity_ = Clock::now().time_since_epoch().count(); }

 private:
  static int KeepWaiting(Http*, void* self) { return static_cast<Connection*>(self)->expired_ ? 0 : 1; }

  const Library& lib_;
  Http* http_ = nullptr;
  std::atomic<Clock::rep> lastActivity_{0};
  std::atomic<bool> expired_{false};
};

QString Reason(const char* text) { return text ? QString::fromUtf8(text) : QString(); }

}  // namespace

QString NoAnswerMessage() {
  return QStringLiteral("The print job could not be sent: the print server did not answer.");
}

Destination Destination::FromName(const QString& name) {
  const qsizetype slash = name.indexOf(u'/');
  if (slash < 0) return {name, {}};
  return {name.left(slash), name.mid(slash + 1)};
}

Lookup FindDefault(Destination& found, int deadlineMs) {
  const Library& lib = Load();
  if (!lib.ok) return Lookup::NoDefault;
  const auto deadline = Clock::now() + std::chrono::milliseconds(deadlineMs);
  Connection http(lib);
  if (!http.get()) return Lookup::NoAnswer;
  Dest* dest = nullptr;
  if (!http.Run([&] { dest = lib.getNamedDest(http.get(), nullptr, nullptr); }, deadline, false)) {
    if (dest) lib.freeDests(1, dest);
    return Lookup::NoAnswer;
  }
  if (!dest) return Lookup::NoDefault;
  found.queue = QString::fromUtf8(dest->name);
  found.instance = dest->instance ? QString::fromUtf8(dest->instance) : QString();
  lib.freeDests(1, dest);
  return Lookup::Found;
}

void Submit(const Destination& destination, QIODevice& data, const QString& title, int copies, const QString& media) {
  const Library& lib = Load();
  const QString name = destination.Name();
  const auto refused = [&](const QString& reason) {
    return EPrinter(QStringLiteral("The print job could not be sent to printer \"%1\"%2")
                        .arg(name, reason.isEmpty() ? QString() : QStringLiteral(": ") + reason));
  };
  if (!lib.ok) throw EPrinter(QStringLiteral("The CUPS library (libcups.so.2) is not available"));
  Connection http(lib);
  if (!http.get()) throw EPrinter(NoAnswerMessage());
  const QByteArray queue = destination.queue.toUtf8();
  const QByteArray instance = destination.instance.toUtf8();
  const QByteArray titleBytes = title.toUtf8();
  QString failure;
  bool sent = false;
  const bool answered = http.Run(
      [&] {
        int count = 0;
        Option* options = nullptr;
        // An instance's own options (its copies, say) first; ours take precedence.
        if (!instance.isEmpty()) {
          Dest* dest = lib.getNamedDest(http.get(), queue.constData(), instance.constData());
          if (!dest) {
            failure = Reason(lib.lastErrorString());
            return;
          }
          for (int i = 0; i < dest->optionCount; ++i)
            count = lib.addOption(dest->options[i].name, dest->options[i].value, count, &options);
          lib.freeDests(1, dest);
        }
        const QByteArray mediaValue = media.toUtf8();
        if (!mediaValue.isEmpty()) count = lib.addOption("media", mediaValue.constData(), count, &options);
        if (copies > 1) count = lib.addOption("copies", QByteArray::number(copies).constData(), count, &options);
        const int job = lib.createJob(http.get(), queue.constData(), titleBytes.constData(), count, options);
        lib.freeOptions(count, options);
        if (job <= 0) {
          failure = Reason(lib.lastErrorString());
          return;
        }
        http.Touch();
        bool written = lib.startDocument(http.get(), queue.constData(), job, titleBytes.constData(),
                                         "application/pdf", 1) == kHttpContinue;
        char buffer[65536];
        while (written && !data.atEnd()) {
          const qint64 n = data.read(buffer, sizeof buffer);
          if (n < 0) break;
          written = lib.writeRequestData(http.get(), buffer, size_t(n)) == kHttpContinue;
          http.Touch();
        }
        const bool complete = written && data.atEnd();
        if (!written) failure = Reason(lib.lastErrorString());
        if (!complete && failure.isEmpty()) failure = data.errorString();
        const int status = lib.finishDocument(http.get(), queue.constData());
        if (complete && status <= kIppLastSuccess) {
          sent = true;
          return;
        }
        if (failure.isEmpty()) failure = Reason(lib.lastErrorString());
        lib.cancelJob2(http.get(), queue.constData(), job, 1);
      },
      Clock::time_point::max(), true);
  if (!answered) throw EPrinter(NoAnswerMessage());
  if (!sent) throw refused(failure);
}

}  // namespace cups
