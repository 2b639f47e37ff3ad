// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The two outputs of the document flow: recorded pages and the text file.
#include "PagePrntOutput.h"

#include <QFile>
#include <cerrno>
#include <cstring>

#include "OneLine.h"
#include "PageDocument.h"
#include "PagePrntInternal.h"

namespace {

QString FileErrorText(const char* action, const QString& name, const QString& reason) {
  return QStringLiteral("Cannot %1 file \"%2\": %3").arg(QString::fromLatin1(action), name, reason);
}

QString FileErrorText(const char* action, const QString& name, int error) {
  return FileErrorText(action, name, QString::fromLocal8Bit(std::strerror(error)));
}

}  // namespace

void TRecordedPagesOutput::Text(int x, int y, int indent, const QString& text, int, int) {
  owner_.PageCanvas()->TextOut(pageprinter_detail::AddClamped(x, indent), y, text);
}

void TRecordedPagesOutput::PageEnd() { owner_.AddPage(); }

TCanvas* TRecordedPagesOutput::LineCanvas() { return owner_.PageCanvas(); }

// A document destroyed while open keeps what was written, as a close would.
TTextFileOutput::~TTextFileOutput() {
  try {
    if (file_.IsOpen()) file_.Commit();
  } catch (...) {
  }
}

void TTextFileOutput::Open() {
  if (name_.isEmpty()) throw EInOutError(QStringLiteral("No file name given for the text output"));
  // The system would stop reading the name at a NUL and write another file.
  if (name_.contains(QChar(u'\0'))) throw EInOutError(FileErrorText("open", name_, EINVAL));
  encoder_ = std::make_unique<TTextEncoder>(UserCodeset());
  try {
    file_.Open();
  } catch (const EInOutError&) {
    throw EInOutError(FileErrorText("open", name_, file_.Reason()));
  }
}

void TTextFileOutput::Close() {
  line_.clear();
  // No file after an earlier write failure: that failure was reported already.
  if (!file_.IsOpen()) return;
  try {
    file_.Commit();
  } catch (const EInOutError&) {
    throw EInOutError(FileErrorText("close", name_, file_.Reason()));
  }
}

void TTextFileOutput::Text(int, int, int indent, const QString& text, int trail, int blankWidth) {
  if (blankWidth <= 0) {
    Write(OneLine(text));
    return;
  }
  Write(TPageDocument::Spaces(indent / blankWidth) + OneLine(text) + TPageDocument::Spaces(trail / blankWidth));
}

void TTextFileOutput::Write(const QString& text) {
  if (!file_.IsOpen()) return;  // released after a failure; the document still ends with EndDoc
  encoder_->Encode(text, line_);
  if (line_.isEmpty()) return;
  try {
    file_.Write(line_);
  } catch (const EInOutError&) {
    // The file is dropped at once; further writes of this document are skipped.
    throw EInOutError(FileErrorText("write", name_, file_.Reason()));
  }
}
