// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Plain-text file output of the page printer, compared byte for byte: line
// ends, alignment and column padding in space widths, form feeds, page starts,
// the character mapping, and every failure of the output file.
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <filesystem>
#include <string>

#include "OpenDescriptors.h"
#include "PagePrinterFixtures.h"

namespace {

QByteArray Spaces(int n) { return QByteArray(n, ' '); }

}  // namespace

class TextFileTest : public PagePrinterFlowTest {
 protected:
  void SetUp() override {
    PagePrinterFlowTest::SetUp();
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath("out.txt");
    pp->SetPrintToFile(true);
    pp->SetFileName(path_);
  }
  QByteArray Contents(const QString& path = QString()) {
    QFile f(path.isEmpty() ? path_ : path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
  }
  QTemporaryDir dir_;
  QString path_;
};

TEST_F(TextFileTest, LinesWritesAndPageBreaks) {
  // Text area 4980 pixels; a space is 50 pixels wide.
  pp->BeginDoc();
  EXPECT_TRUE(pp->Printing());
  EXPECT_TRUE(pp->FileOpen());
  pp->WriteLine("Hello");
  pp->WriteLineAligned(taRightJustify, "R");
  pp->WriteLineAligned(taCenter, "C");
  pp->Write("ab");
  pp->Write("cd");
  pp->NewLine();
  pp->WriteLine("");
  EXPECT_EQ(pp->NewPage(), 2);
  pp->WriteLine("p2");
  pp->EndDoc();
  EXPECT_FALSE(pp->FileOpen());
  EXPECT_FALSE(pp->Printing());
  const QByteArray expected = "Hello\r\n" + Spaces(4930 / 50) + "R\r\n" + Spaces(2465 / 50) + "C\r\n" + "abcd\r\n" +
                              "\r\n" + "\f\r\n" + "p2\r\n";
  EXPECT_EQ(Contents(), expected);
}

TEST_F(TextFileTest, TableRowsArePaddedToTheColumnWidths) {
  pp->SetTableFormat("<1|>1|^1");  // 600 pixels = 12 spaces each
  pp->BeginDoc();
  pp->WriteTableLine("a|b|c");
  pp->WriteTableLine("|bb");
  pp->EndDoc();
  const QByteArray expected =
      // left: indent 12 (no whole space), then 538 pixels of spaces
      "a" + Spaces(10) +
      // right: 538 pixels of offset, then 12 of indent
      Spaces(10) + "b" +
      // centre: 275 on either side
      Spaces(5) + "c" + Spaces(5) + "\r\n" +
      // empty cells are padded too
      Spaces(11) + Spaces(9) + "bb" + Spaces(12) + "\r\n";
  EXPECT_EQ(Contents(), expected);
}

TEST_F(TextFileTest, WrappedCellGivesOneFileLinePerPass) {
  pp->SetTableFormat("<0.5|<0.5");  // 300 pixels
  pp->BeginDoc();
  pp->WriteTableLine("aaa bbb|x\ny");
  pp->EndDoc();
  EXPECT_EQ(Contents(), "aaa " + Spaces(1) + "x" + Spaces(4) + "\r\n" + "bbb" + Spaces(2) + "y" + Spaces(4) + "\r\n");
}

TEST_F(TextFileTest, CharacterWiderThanItsColumnGetsNoNegativePadding) {
  pp->SetTableFormat("^0.05|>0.05|<0.05");  // 30-pixel columns
  pp->BeginDoc();
  pp->WriteTableLine("W|V|x");
  pp->EndDoc();
  EXPECT_EQ(Contents(), "WVx\r\n");
}

TEST_F(TextFileTest, EveryPageStartsWithHandlerLinesThenHeaderThenFooter) {
  pp->SetHeader("H");
  pp->SetHeaderFormat("<1");
  pp->SetFooter("F{$PAGE}");
  pp->SetFooterFormat("<1");
  pp->SetTableFormat("<1");
  pp->SetOnNewPage([&](QObject*) { pp->WriteLine("top"); });
  pp->BeginDoc();
  EXPECT_EQ(pp->LineNumber(), 1);  // the header and footer lines are not counted
  pp->WriteTableLine("body {$LINE}");
  pp->NewPage();
  pp->EndDoc();
  const QByteArray page1 =
      "top\r\n" + QByteArray("H") + Spaces(10) + "\r\n" + "F1" + Spaces(9) + "\r\n" + "body 1" + Spaces(5) + "\r\n";
  const QByteArray page2 = "top\r\n" + QByteArray("H") + Spaces(10) + "\r\n" + "F2" + Spaces(9) + "\r\n";
  EXPECT_EQ(Contents(), page1 + "\f\r\n" + page2);
}

TEST_F(TextFileTest, PagesNeverBreakByThemselvesAndStoredPagesStay) {
  pp->SetPrintToFile(false);
  pp->BeginDoc();
  pp->WriteLine("kept");
  pp->EndDoc();
  pp->SetPrintToFile(true);
  pp->BeginDoc();
  for (int i = 0; i < 200; ++i) pp->WriteLine("line");
  EXPECT_EQ(pp->PageNumber(), 1);
  pp->EndDoc();
  EXPECT_FALSE(Contents().contains('\f'));
  EXPECT_EQ(Contents().count("\r\n"), 200);
  EXPECT_EQ(pp->PageCount(), 1);
  EXPECT_EQ(PageTexts(1), (std::vector<DrawnText>{{"kept", 0, 0}}));
}

// The file is in the character set of the user's locale: UTF-8 keeps every
// character; an 8-bit set writes '?' for what it cannot hold (a surrogate
// pair is one character), whether the locale is installed or only named.
struct CharsetCase {
  const char* name;
  const char* locale;
  QByteArray expected;
};

class TextFileCharset : public TextFileTest, public ::testing::WithParamInterface<CharsetCase> {};

TEST_P(TextFileCharset, WritesTheLocalesCharacterSet) {
  const QByteArray saved = qgetenv("LC_ALL");
  const auto restore = qScopeGuard([&] { qputenv("LC_ALL", saved); });
  qputenv("LC_ALL", GetParam().locale);
  pp->BeginDoc();
  pp->WriteLine(QString::fromUtf8("caf\u00e9 \u20ac \U0001F600!"));
  pp->WriteLine(QString("tab\tkept? no: expanded"));
  pp->EndDoc();
  EXPECT_EQ(Contents(), GetParam().expected + "\r\n" + "tab     kept? no: expanded\r\n");
}

INSTANTIATE_TEST_SUITE_P(Locales, TextFileCharset,
                         ::testing::Values(CharsetCase{"Utf8", "en_US.UTF-8",
                                                       "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80!"},
                                           CharsetCase{"CIsUtf8", "C", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80!"},
                                           CharsetCase{"Latin1", "de_DE.ISO-8859-1", "caf\xe9 ? ?!"},
                                           CharsetCase{"Latin9", "de_DE.ISO-8859-15@euro", "caf\xe9 \xa4 ?!"}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(TextFileTest, TabsInCellsReachTheFileAsTheyAre) {
  pp->SetTableFormat("<0.5");
  pp->BeginDoc();
  pp->WriteTableLine("a\tb");
  pp->EndDoc();
  EXPECT_EQ(Contents(), "a\tb" + Spaces(2) + "\r\n");
}

TEST_F(TextFileTest, FileNameIsTrimmedAndRefusedWhilePrinting) {
  pp->SetFileName("  " + path_ + " \t ");
  EXPECT_EQ(pp->FileName(), path_);
  pp->BeginDoc();
  try {
    pp->SetFileName(dir_.filePath("other.txt"));
    ADD_FAILURE() << "FileName changed while printing";
  } catch (const EPagePrinter& e) {
    EXPECT_EQ(e.Message(), "Can't change FileName while printing");
  }
  EXPECT_NO_THROW(pp->SetFileName(path_));
  EXPECT_EQ(pp->FileName(), path_);
  try {
    pp->SetPrintToFile(false);
    ADD_FAILURE() << "PrintToFile changed while printing";
  } catch (const EPagePrinter& e) {
    EXPECT_EQ(e.Message(), "Can't change PrintToFile while printing");
  }
  EXPECT_TRUE(pp->PrintToFile());
  pp->EndDoc();
  EXPECT_NO_THROW(pp->SetFileName(dir_.filePath("other.txt")));
}

TEST_F(TextFileTest, OnlyTheFirst259CharactersOfTheNameAreUsed) {
  const QString base = dir_.path() + "/";
  ASSERT_LT(base.size(), 200);
  const QString used = base + QString(259 - base.size(), QLatin1Char('n'));
  pp->SetFileName(used + "tail-that-is-ignored");
  pp->BeginDoc();
  pp->WriteLine("x");
  pp->EndDoc();
  EXPECT_TRUE(QFile::exists(used));
  EXPECT_EQ(Contents(used), "x\r\n");
}

TEST_F(TextFileTest, OpenFailureNamesTheFileAndLeavesNothingOpen) {
  const QString name = dir_.filePath("missing/out.txt");
  pp->SetFileName(name);
  const int before = OpenDescriptors();
  int pages = 0;
  pp->SetOnNewPage([&](QObject*) { ++pages; });
  try {
    pp->BeginDoc();
    ADD_FAILURE() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file \"" + name + "\": No such file or directory");
  }
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_TRUE(pp->DocumentOpen());
  EXPECT_FALSE(pp->FileOpen());
  EXPECT_EQ(pages, 0);  // page 1 is not decorated
  // Closing a document whose file never opened is an error too.
  EXPECT_THROW(pp->EndDoc(), EInOutError);
  EXPECT_FALSE(pp->DocumentOpen());
}

TEST_F(TextFileTest, EmptyFileNameIsRefused) {
  pp->SetFileName("   ");
  try {
    pp->BeginDoc();
    ADD_FAILURE() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message(), "No file name given for the text output");
  }
  EXPECT_FALSE(pp->FileOpen());
}

TEST_F(TextFileTest, EndDocWithoutAnOpenFileFails) { EXPECT_THROW(pp->EndDoc(), EInOutError); }

TEST_F(TextFileTest, CloseFailureNamesTheFileAndReleasesIt) {
  if (!QFile::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  pp->SetFileName("/dev/full");
  const int before = OpenDescriptors();
  pp->BeginDoc();
  EXPECT_EQ(OpenDescriptors(), before + 1);
  pp->WriteLine("short");  // buffered
  try {
    pp->EndDoc();
    ADD_FAILURE() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message(), "Cannot close file \"/dev/full\": No space left on device");
  }
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_FALSE(pp->FileOpen());
  EXPECT_FALSE(pp->Printing());
}

TEST_F(TextFileTest, WriteFailureReleasesTheFileAndTheDocumentStillEnds) {
  if (!QFile::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  pp->SetFileName("/dev/full");
  const int before = OpenDescriptors();
  pp->BeginDoc();
  bool failed = false;
  for (int i = 0; i < 1000 && !failed; ++i) {
    try {
      pp->WriteLine(QString(80, QLatin1Char('w')));
    } catch (const EInOutError& e) {
      failed = true;
      EXPECT_EQ(e.Message(), "Cannot write file \"/dev/full\": No space left on device");
    }
  }
  EXPECT_TRUE(failed);
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_TRUE(pp->Printing());             // the document is still open ...
  EXPECT_NO_THROW(pp->WriteLine("more"));  // ... and what follows goes nowhere
  EXPECT_NO_THROW(pp->EndDoc());           // the failure was reported once
  EXPECT_FALSE(pp->Printing());
}

TEST_F(TextFileTest, BeginDocWhileAFileIsOpenClosesTheEarlierFirst) {
  pp->BeginDoc();
  pp->WriteLine("first document");
  const int withOneFile = OpenDescriptors();
  pp->BeginDoc();
  EXPECT_EQ(OpenDescriptors(), withOneFile);
  pp->WriteLine("second");
  pp->EndDoc();
  EXPECT_EQ(Contents(), "second\r\n");
  EXPECT_EQ(OpenDescriptors(), withOneFile - 1);
}

TEST_F(TextFileTest, NewLineEventsFireInFileOutputToo) {
  int lines = 0;
  pp->SetOnNewLine([&](QObject*) { ++lines; });
  pp->BeginDoc();
  pp->WriteLine("a");
  pp->WriteLine("b");
  pp->EndDoc();
  EXPECT_EQ(lines, 3);  // one at the page start, one per line
  EXPECT_EQ(pp->LineNumber(), 2);
}

// Destroying the component in the middle of a file document must not leak the handle
// nor lose what was already written.
TEST_F(TextFileTest, DestroyingTheComponentClosesAnOpenFile) {
  const int before = OpenDescriptors();
  pp->BeginDoc();
  pp->WriteLine("kept");
  EXPECT_EQ(OpenDescriptors(), before + 1);
  pp.reset();
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_EQ(Contents(), "kept\r\n");
}
