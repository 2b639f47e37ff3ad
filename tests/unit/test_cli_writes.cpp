// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The companion's output files: a write that fails says so, leaves the earlier
// file as it was and no temporary file beside it; a symbolic link is replaced,
// not written through; a file name the page printer would change is refused.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

#include "ParamNames.h"

namespace {

const QString kProgram = QStringLiteral(TALLYVANE_BINARY_DIR "/cli/tallyvane-schedule");
const QByteArray kOld = "the earlier file\n";

struct CliResult {
  int exitCode = -1;  // -2: ended by a signal
  QString err;
};

void Prepare(QProcess& p, const QStringList& args) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
  p.setProcessEnvironment(env);
  p.setProgram(kProgram);
  p.setArguments(args);
}

CliResult Finish(QProcess& p) {
  CliResult r;
  if (!p.waitForFinished(120000)) return r;
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
  r.err = QString::fromLocal8Bit(p.readAllStandardError());
  return r;
}

QStringList Args(const char* option, const QString& file, const char* payments, const char* rate = "6") {
  return {"--start", "1/1/2024", QString::fromLatin1(option), file, "100000", rate, QString::fromLatin1(payments)};
}

// Whether the process holds a file in the folder open: its output is under way.
// The file being written may have no name there yet, so its descriptor tells.
bool WritesInto(qint64 pid, const QString& folder) {
  const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
  for (const QFileInfo& fd : QDir(fds).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
    if (fd.symLinkTarget().startsWith(folder + u'/')) return true;
  return false;
}

void WriteOld(const QString& path) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
  ASSERT_EQ(f.write(kOld), kOld.size());
}

QByteArray Content(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

// A small file system of the test's own (mounting needs root); gone at the end.
class Scratch {
 public:
  explicit Scratch(const char* options) {
    if (dir_.isValid() && ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, options) == 0)
      mounted_ = true;
  }
  ~Scratch() {
    if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
  }
  bool Mounted() const { return mounted_; }
  bool MakeReadOnly() {
    return ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }
  QString Path() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  bool mounted_ = false;
};

enum class Failure { DeviceFull, FullDisk, ReadOnlyFolder, Terminated };

struct WriteFailure {
  const char* name;
  const char* option;
  Failure failure;
};

class CliWriteFailure : public ::testing::TestWithParam<WriteFailure> {};

TEST_P(CliWriteFailure, ReportsItAndKeepsTheEarlierFile) {
  const WriteFailure& c = GetParam();
  if (c.failure == Failure::DeviceFull) {
    if (!QFile::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    QProcess p;
    Prepare(p, Args(c.option, "/dev/full", "360"));
    p.start();
    const CliResult r = Finish(p);
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("/dev/full") && r.err.contains("No space left on device")) << r.err.toStdString();
    return;
  }
  Scratch scratch(c.failure == Failure::FullDisk ? "size=16k" : "size=4m");
  QTemporaryDir plain;
  const bool needsMount = c.failure != Failure::Terminated;
  if (needsMount && !scratch.Mounted())
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
  const QString folder = needsMount ? scratch.Path() : plain.path();
  const QString target = folder + "/schedule" + (QByteArray(c.option) == "--pdf" ? ".pdf" : ".txt");
  WriteOld(target);
  if (c.failure == Failure::ReadOnlyFolder) {
    ASSERT_TRUE(scratch.MakeReadOnly());
  }

  QProcess p;
  // A long run (the interest-free loan keeps its arithmetic exact) to be stopped part-way.
  const bool stop = c.failure == Failure::Terminated;
  // The PDF is written after the pages are laid out, the text while they are.
  const char* longRun = QByteArray(c.option) == "--pdf" ? "40000" : "1000000";
  Prepare(p, stop ? Args(c.option, target, longRun, "0") : Args(c.option, target, "360"));
  p.start();
  if (stop) {
    ASSERT_TRUE(p.waitForStarted());
    bool writing = false;
    for (int i = 0; i < 6000 && !writing && p.state() == QProcess::Running; ++i) {
      writing = WritesInto(p.processId(), folder);
      if (!writing) QThread::msleep(10);
    }
    ASSERT_TRUE(writing) << "the output never started";
    p.terminate();
  }
  const CliResult r = Finish(p);
  if (c.failure == Failure::Terminated) {
    EXPECT_EQ(r.exitCode, -2);
  } else {
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(target)) << r.err.toStdString();
  }
  if (c.failure == Failure::FullDisk) {
    EXPECT_TRUE(r.err.contains("No space left on device")) << r.err.toStdString();
  }
  EXPECT_EQ(Content(target), kOld);
  EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(target).fileName()});
}

INSTANTIATE_TEST_SUITE_P(Cases, CliWriteFailure,
                         ::testing::Values(WriteFailure{"PdfOnDevFull", "--pdf", Failure::DeviceFull},
                                           WriteFailure{"TextOnDevFull", "--text", Failure::DeviceFull},
                                           WriteFailure{"PdfOnFullDisk", "--pdf", Failure::FullDisk},
                                           WriteFailure{"TextOnFullDisk", "--text", Failure::FullDisk},
                                           WriteFailure{"PdfInReadOnlyFolder", "--pdf", Failure::ReadOnlyFolder},
                                           WriteFailure{"TextInReadOnlyFolder", "--text", Failure::ReadOnlyFolder},
                                           WriteFailure{"PdfTerminated", "--pdf", Failure::Terminated},
                                           WriteFailure{"TextTerminated", "--text", Failure::Terminated}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(CliFiles, ASymbolicLinkIsReplacedNotWrittenThrough) {
  QTemporaryDir dir;
  for (const char* option : {"--pdf", "--text"}) {
    const QString real = dir.filePath("real"), link = dir.filePath(QString::fromLatin1(option).mid(2));
    WriteOld(real);
    ASSERT_TRUE(QFile::link(real, link));
    QProcess p;
    Prepare(p, Args(option, link, "12"));
    p.start();
    const CliResult r = Finish(p);
    EXPECT_EQ(r.exitCode, 0) << option << r.err.toStdString();
    EXPECT_FALSE(QFileInfo(link).isSymLink()) << option;
    EXPECT_GT(QFileInfo(link).size(), 100) << option;
    EXPECT_EQ(Content(real), kOld) << option;
    QFile::remove(real);
  }
}

// Names reach the program as bytes: through the shell, so that any byte can be given.
class CliFileName : public ::testing::TestWithParam<std::pair<const char*, QByteArray>> {};

TEST_P(CliFileName, ANameThePrinterWouldChangeIsRefused) {
  QTemporaryDir dir;
  QProcess p;
  p.setWorkingDirectory(dir.path());
  p.start("/bin/sh", {"-c", "exec \"$0\" --start 1/1/2024 --text \"$(printf \"$1\")\" 1000 12 12", kProgram,
                      QString::fromLatin1(GetParam().second)});
  const CliResult r = Finish(p);
  EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains("file name")) << r.err.toStdString();
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, CliFileName,
                         ::testing::Values(std::pair{"LeadingBlank", QByteArray(" lead.txt")},
                                           std::pair{"TrailingTab", QByteArray("trail.txt\\t")},
                                           std::pair{"Over259Characters", QByteArray("d/") + QByteArray(258, 'n')},
                                           std::pair{"NotUtf8", QByteArray("bad\\377.txt")}),
                         [](const auto& p) { return std::string(p.param.first); });

}  // namespace
