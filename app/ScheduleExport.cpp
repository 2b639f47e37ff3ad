// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "ScheduleExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QSaveFile>
#include <QTemporaryDir>
#include <memory>

#include "Errors.h"
#include "Printer.h"
#include "SafeSave.h"
#include "ScheduleModel.h"

namespace {

[[noreturn]] void SaveFailed(const QString& fileName, const QString& reason) {
  throw EInOutError(QStringLiteral("Cannot save \"%1\": %2").arg(QDir::toNativeSeparators(fileName), reason));
}

}  // namespace

QString ScheduleClipboardText(const ScheduleModel& model) {
  QString text;
  const int rows = model.GridRowCount();
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < 5; ++c) {
      if (c) text += u'\t';
      text += model.Cell(c, r);
    }
    text += u'\n';
  }
  return text;
}

QString ScheduleClipboardHtml(const ScheduleModel& model) {
  QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body><table>\n");
  const int rows = model.GridRowCount();
  for (int r = 0; r < rows; ++r) {
    const QLatin1StringView cell = r == 0 ? QLatin1StringView("th") : QLatin1StringView("td");
    html += QStringLiteral("<tr>");
    for (int c = 0; c < 5; ++c)
      html += u'<' + cell + u'>' + model.Cell(c, r).trimmed().toHtmlEscaped() + QStringLiteral("</") + cell + u'>';
    html += QStringLiteral("</tr>\n");
  }
  html += QStringLiteral("</table></body></html>\n");
  return html;
}

QMimeData* ScheduleMimeData(const ScheduleModel& model) {
  auto* data = new QMimeData;
  data->setText(ScheduleClipboardText(model));
  data->setHtml(ScheduleClipboardHtml(model));
  return data;
}

void SaveSchedulePdf(const QString& fileName, QPageSize::PageSizeId sheet,
                     const std::function<bool(std::shared_ptr<TPrinter> pdf)>& print) {
  // The PDF printer writes its file in a private scratch folder; only a
  // complete document reaches the target, through SaveFileSafely.
  QTemporaryDir scratch;
  if (!scratch.isValid()) SaveFailed(fileName, scratch.errorString());
  const QString rendered = scratch.filePath(QStringLiteral("schedule.pdf"));
  bool printed = false;
  {
    try {
      printed = print(MakePdfPrinter(rendered, 600, sheet));
    } catch (const Exception& e) {
      // The printer's message names the scratch file; the user knows the target.
      QString reason = e.Message();
      SaveFailed(fileName, reason.replace(rendered, QDir::toNativeSeparators(fileName)));
    }
  }
  if (!printed) SaveFailed(fileName, QStringLiteral("saving was canceled"));
  QFile pdf(rendered);
  if (!pdf.open(QIODevice::ReadOnly)) SaveFailed(fileName, pdf.errorString());
  const QByteArray bytes = pdf.readAll();
  // A PDF writer that ran out of room ends without its trailer.
  if (!bytes.trimmed().endsWith("%%EOF")) SaveFailed(fileName, QStringLiteral("the PDF could not be completed"));
  SaveFileSafely(fileName, bytes);
}
