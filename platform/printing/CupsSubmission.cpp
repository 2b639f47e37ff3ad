// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "CupsSubmission.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QIODevice>
#include <QThread>
#include <algorithm>
#include <ctime>
#include <atomic>
#include <chrono>
#include <dlfcn.h>
#include <functional>
#include <memory>
#include <optional>
#include <QFileDevice>
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
struct Job {
  int id;
  char* dest;
  char* title;
  char* user;
  char* format;
  int state;
  int size;
  int priority;
  time_t completedTime;
  time_t creationTime;
  time_t processingTime;
};
struct Http;
struct Ipp;
using TimeoutCallback = int (*)(Http*, void*);
constexpr int kHttpContinue = 100;
constexpr int kIppLastSuccess = 0x00ff;
// Server errors (0x05xx), which libcups also reports for a connection that was lost.
constexpr int kIppFirstServerError = 0x0500;

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
  Ipp* (*getResponse)(Http*, const char*) = nullptr;
  int (*statusCode)(Ipp*) = nullptr;
  void (*deleteIpp)(Ipp*) = nullptr;
  int (*cancelJob2)(Http*, const char*, int, int) = nullptr;
  int (*getJobs2)(Http*, Job**, const char*, int, int) = nullptr;
  void (*freeJobs)(int, Job*) = nullptr;
  const char* (*lastErrorString)() = nullptr;
  int (*lastError)() = nullptr;
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
    Bind(h, lib.getResponse, "cupsGetResponse", ok);
    Bind(h, lib.statusCode, "ippGetStatusCode", ok);
    Bind(h, lib.deleteIpp, "ippDelete", ok);
    Bind(h, lib.cancelJob2, "cupsCancelJob2", ok);
    Bind(h, lib.getJobs2, "cupsGetJobs2", ok);
    Bind(h, lib.freeJobs, "cupsFreeJobs", ok);
    Bind(h, lib.lastErrorString, "cupsLastErrorString", ok);
    Bind(h, lib.lastError, "cupsLastError", ok);
    lib.ok = ok;
    return lib;
  }();
  return library;
}

using Clock = std::chrono::steady_clock;
constexpr int kConnectMs = 3000;
// How long a server may stay silent while a job is sent.
constexpr auto kSilence = std::chrono::seconds(5);

// One connection to the server, its waits bounded by the callback below. It
// is shared with the worker that uses it: a worker stuck inside libcups (which
// opens connections of its own that no callback bounds) is left behind, and
// the last of the two to finish closes the connection.
class Connection {
 public:
  explicit Connection(const Library& lib, Clock::time_point deadline = Clock::time_point::max())
      : lib_(lib), deadline_(deadline) {
    http_ =
        lib.connect2(lib.server(), lib.port(), nullptr, 0 /* AF_UNSPEC */, lib.encryption(), 1, kConnectMs, nullptr);
    if (http_) lib.setTimeout(http_, 0.5, &Connection::KeepWaiting, this);
  }
  ~Connection() {
    if (http_) lib_.close(http_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  Http* get() const { return http_; }

  enum class Outcome { Done, Silent, Stopped };
  // Runs the requests on a worker thread until they finish, the server has
  // been silent too long (or the overall deadline passed), or stop() says so.
  // Unless Done, the socket is then shut down and the worker no longer
  // awaited. The requests must own (or share) everything they touch.
  static Outcome Run(const std::shared_ptr<Connection>& http, std::function<void()> requests,
                     Clock::time_point deadline, bool processEvents, const std::function<bool()>& stop = {}) {
    http->Touch();
    auto done = std::make_shared<std::atomic<bool>>(false);
    Running().fetch_add(1);
    std::thread worker([http, done, requests = std::move(requests)] {
      requests();
      *done = true;
      Running().fetch_sub(1);
    });
    while (!*done) {
      if (processEvents) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      if (*done) break;
      const bool stopped = stop && stop();
      if (!stopped) std::this_thread::sleep_for(std::chrono::milliseconds(10));
      const auto now = Clock::now();
      if (stopped || now > deadline || now - Clock::time_point(Clock::duration(http->lastActivity_)) > kSilence) {
        http->expired_ = true;
        ::shutdown(http->lib_.getFd(http->http_), SHUT_RDWR);
        worker.detach();
        return stopped ? Outcome::Stopped : Outcome::Silent;
      }
    }
    worker.join();
    return Outcome::Done;
  }
  // Called by the worker after each piece of progress.
  void Touch() { lastActivity_ = Clock::now().time_since_epoch().count(); }
  bool Expired() const { return expired_; }
  // Workers still inside libcups, those given up on included.
  static std::atomic<int>& Running() {
    static std::atomic<int> running{0};
    return running;
  }

 private:
  static int KeepWaiting(Http*, void* self) {
    const auto* http = static_cast<Connection*>(self);
    return http->expired_ || Clock::now() > http->deadline_ ? 0 : 1;
  }

  const Library& lib_;
  Clock::time_point deadline_;
  Http* http_ = nullptr;
  std::atomic<Clock::rep> lastActivity_{0};
  std::atomic<bool> expired_{false};
};

QString Reason(const char* text) { return text ? QString::fromUtf8(text) : QString(); }

// Whether libcups's last reason says nothing: none, a stale "successful-ok"
// from an earlier request, or "Success" (the system's word for no error) when
// the connection broke without one.
bool Untold(const QString& reason) {
  return reason.isEmpty() || reason.startsWith(QLatin1String("success"), Qt::CaseInsensitive);
}

// The server's own reason for the last failure, or the fallback where libcups left none.
QString FailureReason(const Library& lib, const QString& fallback) {
  const QString told = Reason(lib.lastErrorString());
  return Untold(told) ? fallback : told;
}

// How long withdrawing a half-made job may take.
constexpr auto kCancelDeadline = std::chrono::seconds(10);

// Withdraws the jobs that a Create-Job whose answer was lost may have left:
// ours, on the queue, with this title, made since it was asked and still
// without a document. A server may read the request after the connection
// broke and make the job a moment later, so it is looked for a few times.
void WithdrawUnconfirmed(const Library& lib, const QByteArray& queue, const QByteArray& title, time_t since,
                         const std::function<void()>& progress) {
  const auto deadline = Clock::now() + kCancelDeadline;
  Connection http(lib, deadline);
  if (!http.get()) return;
  for (const int waitMs : {0, 300, 500, 700, 1000}) {
    std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
    Job* jobs = nullptr;
    const int count = lib.getJobs2(http.get(), &jobs, queue.constData(), 1, 0 /* active jobs */);
    for (int i = 0; i < count; ++i) {
      const Job& job = jobs[i];
      if (job.title && title == job.title && job.creationTime >= since && job.size == 0)
        lib.cancelJob2(http.get(), queue.constData(), job.id, 0);
    }
    if (jobs) lib.freeJobs(count, jobs);
    if (Clock::now() > deadline) return;
    progress();
  }
}

// Withdraws a job the server has not confirmed, over a connection of its own
// (the job's may be gone); a server that does not answer in time is left.
void WithdrawJob(const Library& lib, const QByteArray& queue, int id) {
  Connection http(lib, Clock::now() + kCancelDeadline);
  if (http.get()) lib.cancelJob2(http.get(), queue.constData(), id, 0);
}

}  // namespace

bool WaitForGivenUpRequests(int deadlineMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(deadlineMs);
  while (Connection::Running().load() > 0) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

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
  auto http = std::make_shared<Connection>(lib);
  // No print server at all (nothing listens): no printer.
  if (!http->get()) return Lookup::NoDefault;
  auto answer = std::make_shared<std::optional<Destination>>();
  auto lost = std::make_shared<bool>(false);
  const Connection::Outcome outcome = Connection::Run(
      http,
      [&lib, http, answer, lost] {
        Dest* dest = lib.getNamedDest(http->get(), nullptr, nullptr);
        if (!dest) {
          *lost = lib.lastError() >= kIppFirstServerError;
          return;
        }
        *answer =
            Destination{QString::fromUtf8(dest->name), dest->instance ? QString::fromUtf8(dest->instance) : QString()};
        lib.freeDests(1, dest);
      },
      deadline, false);
  if (outcome != Connection::Outcome::Done || *lost) return Lookup::NoAnswer;
  if (!answer->has_value()) return Lookup::NoDefault;
  found = **answer;
  return Lookup::Found;
}

Lookup FindNamed(const Destination& wanted, int deadlineMs, QString& reason) {
  const Library& lib = Load();
  if (!lib.ok) {
    reason = QStringLiteral("the CUPS library (libcups.so.2) is not available");
    return Lookup::NoDefault;
  }
  const auto deadline = Clock::now() + std::chrono::milliseconds(deadlineMs);
  auto http = std::make_shared<Connection>(lib);
  if (!http->get()) return Lookup::NoAnswer;
  struct Answer {
    QByteArray queue, instance;
    bool found = false;
    QString reason;
    bool lost = false;
  };
  auto answer = std::make_shared<Answer>();
  answer->queue = wanted.queue.toUtf8();
  answer->instance = wanted.instance.toUtf8();
  const Connection::Outcome outcome = Connection::Run(
      http,
      [&lib, http, answer] {
        Dest* dest = lib.getNamedDest(http->get(), answer->queue.constData(),
                                      answer->instance.isEmpty() ? nullptr : answer->instance.constData());
        if (!dest) {
          answer->reason = Reason(lib.lastErrorString());
          answer->lost = lib.lastError() >= kIppFirstServerError;
          return;
        }
        answer->found = true;
        lib.freeDests(1, dest);
      },
      deadline, false);
  if (outcome != Connection::Outcome::Done || answer->lost) return Lookup::NoAnswer;
  if (!answer->found) {
    // libcups may leave no error of its own for a destination it did not find.
    reason = Untold(answer->reason) ? QStringLiteral("the print server does not know it") : answer->reason;
    return Lookup::NoDefault;
  }
  return Lookup::Found;
}

bool Submit(const Destination& destination, QIODevice& data, const QString& title, int copies, const QString& media,
            const std::function<bool()>& cancelled, const QString& sides) {
  const Library& lib = Load();
  const QString name = destination.Name();
  const auto refused = [&](const QString& reason) {
    return EPrinter(QStringLiteral("The print job could not be sent to printer \"%1\"%2")
                        .arg(name, reason.isEmpty() ? QString() : QStringLiteral(": ") + reason));
  };
  if (!lib.ok) throw EPrinter(QStringLiteral("The CUPS library (libcups.so.2) is not available"));
  auto http = std::make_shared<Connection>(lib);
  if (!http->get()) throw EPrinter(NoAnswerMessage());
  // The worker may outlive this call (a server that stops answering), so it gets its own copy of everything.
  struct Job {
    QByteArray queue, instance, title, media, sides, pdf;
    int copies = 1;
    QString failure;
    bool sent = false;
  };
  auto job = std::make_shared<Job>();
  job->queue = destination.queue.toUtf8();
  job->instance = destination.instance.toUtf8();
  job->title = title.toUtf8();
  job->media = media.toUtf8();
  job->sides = sides.toUtf8();
  job->copies = copies;
  job->pdf = data.readAll();
  const auto* file = qobject_cast<const QFileDevice*>(&data);
  if ((file && file->error() != QFileDevice::NoError) || !data.atEnd()) throw refused(data.errorString());
  const Connection::Outcome outcome = Connection::Run(
      http,
      [&lib, http, job] {
        Job& j = *job;
        int count = 0;
        Option* options = nullptr;
        // An instance's own options (its copies, say) first; ours take precedence.
        if (!j.instance.isEmpty()) {
          Dest* dest = lib.getNamedDest(http->get(), j.queue.constData(), j.instance.constData());
          if (!dest) {
            j.failure = FailureReason(lib, QStringLiteral("the print server did not describe the printer"));
            return;
          }
          for (int i = 0; i < dest->optionCount; ++i)
            count = lib.addOption(dest->options[i].name, dest->options[i].value, count, &options);
          lib.freeDests(1, dest);
        }
        if (!j.media.isEmpty()) count = lib.addOption("media", j.media.constData(), count, &options);
        if (!j.sides.isEmpty()) count = lib.addOption("sides", j.sides.constData(), count, &options);
        if (j.copies > 1) count = lib.addOption("copies", QByteArray::number(j.copies).constData(), count, &options);
        const time_t asked = time(nullptr) - 1;
        const int id = lib.createJob(http->get(), j.queue.constData(), j.title.constData(), count, options);
        lib.freeOptions(count, options);
        if (id <= 0) {
          j.failure = FailureReason(lib, QStringLiteral("the print server did not confirm the new job"));
          // Unless the server refused it, the job may exist without our knowing its number.
          const int status = lib.lastError();
          if (status >= kIppFirstServerError || status <= kIppLastSuccess)
            WithdrawUnconfirmed(lib, j.queue, j.title, asked, [&http] { http->Touch(); });
          return;
        }
        // libcups may have sent the request again on a connection of its own
        // after the attempt was given up: that job must not go on to print.
        if (http->Expired()) {
          WithdrawJob(lib, j.queue, id);
          return;
        }
        http->Touch();
        bool written = lib.startDocument(http->get(), j.queue.constData(), id, j.title.constData(), "application/pdf",
                                         1) == kHttpContinue;
        constexpr qsizetype kSlice = 65536;
        for (qsizetype at = 0; written && at < j.pdf.size(); at += kSlice) {
          const qsizetype n = std::min(kSlice, j.pdf.size() - at);
          written = lib.writeRequestData(http->get(), j.pdf.constData() + at, size_t(n)) == kHttpContinue;
          http->Touch();
        }
        if (!written) {
          j.failure = FailureReason(lib, QStringLiteral("the connection to the print server was lost"));
        } else {
          // Sent only once the server's answer to the document is read and says so.
          const QByteArray resource = "/printers/" + j.queue;
          Ipp* response = lib.getResponse(http->get(), resource.constData());
          const int status = response ? lib.statusCode(response) : -1;
          if (response) lib.deleteIpp(response);
          if (response && status <= kIppLastSuccess) {
            j.sent = true;
            return;
          }
          j.failure = response ? FailureReason(lib, QStringLiteral("the print server refused the document"))
                               : QStringLiteral("the print server did not confirm the document");
        }
        WithdrawJob(lib, j.queue, id);
      },
      Clock::time_point::max(), true, cancelled);
  if (outcome == Connection::Outcome::Stopped) return false;
  if (outcome == Connection::Outcome::Silent) throw EPrinter(NoAnswerMessage());
  if (!job->sent) throw refused(job->failure);
  return true;
}

}  // namespace cups
