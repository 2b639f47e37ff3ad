// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Line and paragraph breaks inside a single-line cell, header or footer are
// blanks in every output: each output of a document holding one reads or looks
// exactly as that of the same document with a blank in its place.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <tuple>

#include "PagePrnt.h"
#include "PdfTools.h"
#include "Printer.h"
#include "TestPrinter.h"

namespace {

// The document: a header, a footer, a cell and a plain line, each holding gap.
void Build(TPagePrinter& pp, const QString& gap) {
  pp.SetWordWrap(false);
  pp.SetHeader("head" + gap + "er");
  pp.SetHeaderFormat("<3");
  pp.SetFooter("foot" + gap + "er");
  pp.SetFooterFormat("<3");
  pp.SetTableFormat("<3|<2");
  pp.BeginDoc();
  pp.WriteTableLine("before" + gap + "after|x");
  pp.WriteLine("line" + gap + "end");
  pp.EndDoc();
}

std::unique_ptr<TPagePrinter> OnTestPrinter() {
  return std::make_unique<TPagePrinter>(std::make_shared<TTestPrinter>(TTestPrinter::Setup{}));
}

// What one output makes of the document, as bytes to compare.
struct Output {
  const char* name;
  QByteArray (*render)(const QString& gap, const QTemporaryDir& dir);
};

QByteArray TextFile(const QString& gap, const QTemporaryDir& dir) {
  auto pp = OnTestPrinter();
  pp->SetPrintToFile(true);
  pp->SetFileName(dir.filePath("out.txt"));
  Build(*pp, gap);
  QFile file(dir.filePath("out.txt"));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}

// The recorded pages: what the preview, the PDF file and the printer play back.
QByteArray Pages(const QString& gap, const QTemporaryDir&) {
  auto pp = OnTestPrinter();
  Build(*pp, gap);
  QString texts;
  for (const TMetaOp* op : pp->Pages(1)->TextOperations())
    texts += QStringLiteral("%1@%2,%3\n").arg(op->text).arg(op->origin.x()).arg(op->origin.y());
  return texts.toUtf8();
}

// The window: the preview painted at full size.
QByteArray Preview(const QString& gap, const QTemporaryDir&) {
  auto pp = OnTestPrinter();
  pp->resize(900, 700);
  pp->SetZoomPercent(100);
  Build(*pp, gap);
  const QImage image = pp->grab().toImage();
  return QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
}

// The PDF a file or a print job gets, as a reader extracts it.
QByteArray Pdf(const QString& gap, const QTemporaryDir& dir) {
  const QString file = dir.filePath("out.pdf");
  TPagePrinter pp(MakePdfPrinter(file));
  pp.SetShowProgress(false);
  Build(pp, gap);
  if (!pp.Print()) return "(not printed)";
  return RunTool("pdftotext", {"-layout", file, "-"}).toUtf8();
}

// The printer's own canvas, drawn on directly.
QByteArray PrinterCanvas(const QString& gap, const QTemporaryDir& dir) {
  const QString file = dir.filePath("direct.pdf");
  auto printer = MakePdfPrinter(file);
  printer->BeginDoc();
  printer->Canvas()->TextOut(300, 300, "before" + gap + "after");
  printer->EndDoc();
  return RunTool("pdftotext", {"-layout", file, "-"}).toUtf8();
}

struct Gap {
  const char* name;
  char16_t character;
};

class Separators : public ::testing::TestWithParam<std::tuple<Gap, Output>> {};

TEST_P(Separators, ShowAsBlanks) {
  const auto& [gap, output] = GetParam();
  QTemporaryDir withGap, withBlank;
  ASSERT_TRUE(withGap.isValid() && withBlank.isValid());
  const QByteArray shown = output.render(QString(QChar(gap.character)), withGap);
  const QByteArray blank = output.render(QStringLiteral(" "), withBlank);
  EXPECT_FALSE(blank.isEmpty());
  EXPECT_TRUE(shown == blank) << output.name << " differs from the document with a blank";
}

INSTANTIATE_TEST_SUITE_P(Outputs, Separators,
                         ::testing::Combine(::testing::Values(Gap{"LineSeparator", 0x2028},
                                                              Gap{"ParagraphSeparator", 0x2029}, Gap{"LineFeed", u'\n'},
                                                              Gap{"CarriageReturn", u'\r'}, Gap{"VerticalTab", u'\v'},
                                                              Gap{"FormFeed", u'\f'}, Gap{"NextLine", 0x85}),
                                            ::testing::Values(Output{"TextFile", TextFile}, Output{"Pages", Pages},
                                                              Output{"Preview", Preview}, Output{"Pdf", Pdf},
                                                              Output{"PrinterCanvas", PrinterCanvas})),
                         [](const auto& p) {
                           return std::string(std::get<0>(p.param).name) + "_" + std::string(std::get<1>(p.param).name);
                         });

}  // namespace
