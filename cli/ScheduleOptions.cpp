// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "ScheduleOptions.h"

#include <QCommandLineParser>
#include <QFile>
#include <QHash>

namespace {

// The text file's name goes through the page printer, which trims characters
// below code 33 from both ends and uses at most 259 characters; a file name
// must also come back to the same bytes, or another file would be written.
// Such names are refused rather than quietly changed.
bool CheckFileName(const QString& name, const QList<QByteArray>& rawForms, const QString& option, QString& error) {
  const auto refuse = [&](const QString& why) {
    error = QStringLiteral("the file name given to %1 %2").arg(option, why);
    return false;
  };
  for (const QByteArray& raw : rawForms)
    if (QFile::encodeName(name) != raw) return refuse(QStringLiteral("is not valid in the current encoding"));
  if (option != QLatin1String("--text")) return true;
  if (!name.isEmpty() && (name.front().unicode() < 33 || name.back().unicode() < 33))
    return refuse(QStringLiteral("begins or ends with a blank or a control character"));
  if (name.size() > 259) return refuse(QStringLiteral("is longer than 259 characters"));
  return true;
}

// A lone "-5" is a negative number, not an option: such arguments are hidden
// from the parser behind a stand-in that cannot be an option, and put back after.
bool LooksNegative(const QString& a) { return a.size() > 1 && a[0] == u'-' && a[1] != u'-' && !a[1].isLetter(); }

QString StandIn(int index) { return QStringLiteral("\x01%1").arg(index); }

// The argument after --print is its queue only when it is no option and the
// three numbers are complete without it; a marker holds its place meanwhile.
const QString kQueueMarker = QStringLiteral("\x02queue");

std::optional<QPageSize::PageSizeId> PaperNamed(const QString& name) {
  for (const QPageSize::PageSizeId id : {QPageSize::A4, QPageSize::Letter, QPageSize::Legal})
    if (name.compare(QPageSize::key(id), Qt::CaseInsensitive) == 0) return id;
  return std::nullopt;
}

}  // namespace

bool ParseScheduleOptions(const QList<QByteArray>& raw, ScheduleOptions& options, QString& error) {
  QStringList args;
  for (const QByteArray& r : raw) args << QString::fromLocal8Bit(r);

  QHash<QString, QString> hidden;
  QStringList shown;
  bool onlyPositional = false;
  std::optional<QString> queueCandidate;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == QLatin1String("--")) onlyPositional = true;
    if (i > 1 && !onlyPositional && !queueCandidate && args[i - 1] == QLatin1String("--print") && !a.startsWith(u'-')) {
      queueCandidate = a;
      shown << kQueueMarker;
    } else if (i > 0 && !onlyPositional && LooksNegative(a)) {
      hidden.insert(StandIn(i), a);
      shown << StandIn(i);
    } else {
      shown << a;
    }
  }
  const auto restore = [&](const QString& v) { return hidden.value(v, v); };

  const QCommandLineOption weekly(QStringLiteral("weekly"));
  const QCommandLineOption help(QStringList{QStringLiteral("help"), QStringLiteral("h")});
  const QCommandLineOption version(QStringLiteral("version"));
  const QCommandLineOption start(QStringLiteral("start"), QString(), QStringLiteral("DATE"));
  const QCommandLineOption pdf(QStringLiteral("pdf"), QString(), QStringLiteral("FILE"));
  const QCommandLineOption text(QStringLiteral("text"), QString(), QStringLiteral("FILE"));
  const QCommandLineOption csv(QStringLiteral("csv"), QString(), QStringLiteral("FILE"));
  const QCommandLineOption footer(QStringLiteral("footer"), QString(), QStringLiteral("TEXT"));
  const QCommandLineOption extra(QStringLiteral("extra"), QString(), QStringLiteral("AMOUNT[@N]"));
  const QCommandLineOption lump(QStringLiteral("lump"), QString(), QStringLiteral("N:AMOUNT"));
  const QCommandLineOption keepTerm(QStringLiteral("keep-term"));
  const QCommandLineOption yearly(QStringLiteral("yearly"));
  const QCommandLineOption print(QStringLiteral("print"));
  const QCommandLineOption copies(QStringLiteral("copies"), QString(), QStringLiteral("N"));
  const QCommandLineOption paper(QStringLiteral("paper"), QString(), QStringLiteral("SIZE"));
  // "--print=QUEUE" names the queue too; the parser knows --print only as a switch.
  for (QString& a : shown) {
    if (!a.startsWith(QLatin1String("--print="))) continue;
    options.queue = a.mid(8);
    a = QStringLiteral("--print");
  }
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.addOptions(
      {weekly, help, version, start, pdf, text, csv, footer, print, copies, paper, extra, lump, keepTerm, yearly});
  if (!parser.parse(shown)) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
      const QString& name = unknown.front();
      error = QStringLiteral("unknown option '%1'")
                  .arg((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
    } else if (shown.size() > 1 && shown.back().startsWith(u'-')) {
      error = QStringLiteral("option '%1' needs a value").arg(shown.back());
    } else {
      error = parser.errorText();
    }
    return false;
  }
  options.weekly = parser.isSet(weekly);
  options.help = parser.isSet(help);
  options.version = parser.isSet(version);
  options.start = restore(parser.value(start));
  if (parser.isSet(footer)) options.footer = restore(parser.value(footer));
  options.print = parser.isSet(print);
  QStringList positional = parser.positionalArguments();
  if (const qsizetype marker = positional.indexOf(kQueueMarker); marker >= 0) {
    if (positional.size() > 3 && options.queue.isEmpty()) {
      options.queue = *queueCandidate;
      positional.remove(marker);
    } else {
      positional[marker] = *queueCandidate;
    }
  }
  for (const QString& p : positional) options.positional << restore(p);
  if (parser.isSet(copies)) {
    bool ok = false;
    options.copies = parser.value(copies).toInt(&ok);
    if (!ok || options.copies < 1 || options.copies > 9999) {
      error =
          QStringLiteral("--copies needs a whole number from 1 to 9999, not '%1'").arg(restore(parser.value(copies)));
      return false;
    }
  }
  if (parser.isSet(paper)) {
    options.paper = PaperNamed(parser.value(paper));
    if (!options.paper) {
      error = QStringLiteral("unknown paper '%1' (A4, Letter or Legal)").arg(restore(parser.value(paper)));
      return false;
    }
  }
  if (parser.isSet(extra)) {
    if (parser.values(extra).size() > 1) {
      error = QStringLiteral("--extra may be given once");
      return false;
    }
    options.extra = restore(parser.value(extra));
  }
  for (const QString& l : parser.values(lump)) options.lumps << restore(l);
  options.keepTerm = parser.isSet(keepTerm);
  options.yearly = parser.isSet(yearly);

  struct FileOption {
    const QCommandLineOption& option;
    QString& target;
  };
  for (const FileOption& f :
       {FileOption{pdf, options.pdf}, FileOption{text, options.text}, FileOption{csv, options.csv}}) {
    if (!parser.isSet(f.option)) continue;
    f.target = restore(parser.value(f.option));
    // The bytes the name came from: every argument that decodes to it.
    QList<QByteArray> forms;
    const QString inline_ = QStringLiteral("--") + f.option.names().front() + u'=';
    for (int i = 1; i < args.size(); ++i) {
      if (args[i] == f.target) forms << raw[i];
      if (args[i] == inline_ + f.target) forms << raw[i].mid(inline_.size());
    }
    if (!CheckFileName(f.target, forms, QStringLiteral("--") + f.option.names().front(), error)) return false;
  }

  if (options.help || options.version) return true;
  if (options.positional.size() != 3) {
    error = QStringLiteral("expected AMOUNT RATE PAYMENTS");
    return false;
  }
  // --start also serves --csv (its Due Date column) and --yearly (calendar years),
  // but neither needs it.
  if (!options.start.isEmpty() && !options.print && options.pdf.isEmpty() && options.text.isEmpty() &&
      options.csv.isEmpty() && !options.yearly) {
    error = QStringLiteral("--start needs --pdf FILE, --text FILE or --csv FILE");
    return false;
  }
  if (options.start.isEmpty() && !(options.pdf.isEmpty() && options.text.isEmpty())) {
    error = QStringLiteral("--pdf and --text need --start DATE");
    return false;
  }
  if (options.start.isEmpty() && options.print) {
    error = QStringLiteral("--print needs --start DATE");
    return false;
  }
  if (parser.isSet(copies) && !options.print) {
    error = QStringLiteral("--copies needs --print");
    return false;
  }
  if (options.paper && !options.print && options.pdf.isEmpty() && options.text.isEmpty()) {
    error = QStringLiteral("--paper needs --print, --pdf FILE or --text FILE");
    return false;
  }
  // The printed document has no Extra column yet; printing the level schedule
  // instead would answer another question than the one asked.
  if (options.WithExtras() && (options.print || !options.pdf.isEmpty() || !options.text.isEmpty())) {
    error = QStringLiteral("--pdf, --text and --print do not show extra payments; use --csv or the table");
    return false;
  }
  return true;
}

bool ReadExtraPlan(const ScheduleOptions& options, ExtraPlan& plan, QString& error, const FormatSettings& fs) {
  plan = ExtraPlan{};
  plan.mode = options.keepTerm ? ExtraMode::KeepTerm : ExtraMode::KeepPayment;
  if (options.extra) {
    const QString& e = *options.extra;
    const qsizetype at = e.lastIndexOf(u'@');
    if (!ParseExtraAmount(at < 0 ? e : e.left(at), ExtraField::Recurring, plan.recurring, error, fs)) return false;
    if (at >= 0 && !ParseExtraPaymentNumber(e.mid(at + 1), ExtraField::RecurringFrom, plan.recurringFrom, error))
      return false;
  }
  for (const QString& l : options.lumps) {
    const qsizetype colon = l.indexOf(u':');
    OneTimeExtra one;
    if (colon < 0) {
      error = ExtraFieldName(ExtraField::OneTimeAmount) + QStringLiteral(": \"%1\" is not N:AMOUNT.").arg(l);
      return false;
    }
    if (!ParseExtraPaymentNumber(l.left(colon), ExtraField::OneTimePayment, one.payment, error)) return false;
    if (!ParseExtraAmount(l.mid(colon + 1), ExtraField::OneTimeAmount, one.amount, error, fs)) return false;
    plan.oneTime.push_back(one);
  }
  return true;
}
