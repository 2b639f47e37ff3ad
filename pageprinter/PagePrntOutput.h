// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// Where the page printer's document flow writes: recorded pages, or a plain
// text file. Not part of the component's interface.
#include <QByteArray>
#include <QString>
#include <memory>

#include "SafeSave.h"
#include "TextEncoding.h"

class TCanvas;
class TPageDocument;

class TPageOutput {
 public:
  virtual ~TPageOutput() = default;
  // Page breaks happen only where the output has pages.
  virtual bool Paged() const = 0;
  // Text drawn at (x + indent, y); a text form reproduces indent and trail as
  // blanks of blankWidth pixels (none when blankWidth is not positive).
  virtual void Text(int x, int y, int indent, const QString& text, int trail, int blankWidth) = 0;
  virtual void LineEnd() = 0;
  virtual void PageEnd() = 0;
  // The surface for grid and border lines; nullptr where lines have no form.
  virtual TCanvas* LineCanvas() = 0;
};

// The document's open page; a page end appends the next page.
class TRecordedPagesOutput final : public TPageOutput {
 public:
  explicit TRecordedPagesOutput(TPageDocument& owner) : owner_(owner) {}
  bool Paged() const override { return true; }
  void Text(int x, int y, int indent, const QString& text, int trail, int blankWidth) override;
  void LineEnd() override {}
  void PageEnd() override;
  TCanvas* LineCanvas() override;

 private:
  TPageDocument& owner_;
};

// Plain text in the user's character set (UTF-8 under a UTF-8 locale, else the
// locale's 8-bit set with "?" for a character it cannot hold), with CR LF line
// ends; a page break is a line holding the form feed alone, and a line or
// paragraph break inside a text is a blank. The named file is replaced only
// when the document closes; until then its old content stays.
class TTextFileOutput final : public TPageOutput {
 public:
  explicit TTextFileOutput(QString name) : name_(name), file_(std::move(name)) {}
  ~TTextFileOutput() override;
  TTextFileOutput(const TTextFileOutput&) = delete;
  TTextFileOutput& operator=(const TTextFileOutput&) = delete;
  // Both raise EInOutError on failure.
  void Open();
  void Close();
  bool Paged() const override { return false; }
  void Text(int x, int y, int indent, const QString& text, int trail, int blankWidth) override;
  void LineEnd() override { Write(QStringLiteral("\r\n")); }
  void PageEnd() override { Write(QStringLiteral("\f\r\n")); }
  TCanvas* LineCanvas() override { return nullptr; }

 private:
  void Write(const QString& text);

  QString name_;
  TSafeFile file_;
  std::unique_ptr<TTextEncoder> encoder_;  // chosen when the file opens
  QByteArray line_;                        // reused conversion buffer
};
