// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Bad inputs to the page printer: column formats, friendly texts and output file names. Nothing may crash or hang,
// every failure must say what went wrong, and no file may be left open.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "Conversions.h"
#include "DueDates.h"
#include "Errors.h"
#include "Loan.h"
#include "LoanInputs.h"
#include "Money.h"
#include "OpenDescriptors.h"
#include "PagePrnt.h"
#include "Printer.h"
#include "TestPrinter.h"

// Failure messages show the texts, not their code units.
void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.left(200).toStdString() << '"'; }

namespace {

// ---------------------------------------------------------------------------
// Column formats, friendly texts and file names on a page printer with a test
// printer (600 dpi, Letter, 0.1-inch offsets).

class PagePrinterInputs : public ::testing::Test {
 protected:
  void SetUp() override {
    auto test = std::make_shared<TTestPrinter>(TTestPrinter::Setup{});
    printer = test.get();
    pp = std::make_unique<TPagePrinter>(std::move(test));
    pp->SetMarginLeft(0.5);
    pp->SetMarginRight(0.5);
  }
  void TearDown() override { pp.reset(); }
  // Lays out a few rows under the table format and returns the texts drawn.
  QStringList LayOut(const QString& row) {
    pp->BeginDoc();
    pp->WriteTableLine(row);
    pp->WriteTableLine(row);
    pp->EndDoc();
    QStringList texts;
    for (int p = 1; p <= pp->PageCount(); ++p)
      for (const TMetaOp* op : pp->Pages(p)->TextOperations()) texts << op->text;
    return texts;
  }
  TTestPrinter* printer = nullptr;
  std::unique_ptr<TPagePrinter> pp;
};

struct FormatCase {
  const char* name;
  QString format;
  QString canonical;
  int cellsDrawnPerRow;  // of the row "a|b|c"
};

const FormatCase kFormatCases[] = {
    {"Empty", "", "", 1},
    {"SeparatorsOnly", "|||", "<0|<0|<0|<0", 3},
    {"AlignmentsOnly", "<|>|^", "<0|>0|^0", 3},
    {"NanWidth", ">nan", ">0", 1},
    {"InfWidth", ">inf", ">0", 1},
    {"HugeWidthThenAnother", ">1e300|>1", ">1E300|>1", 2},
    {"HugeNegativeWidthThenAnother", ">-1e300|^1", ">-1E300|^1", 2},
    {"TinyWidth", ">1e-300|>1", ">1E-300|>1", 2},
    {"WidthBeyondExtended", ">1e4933|>1", ">0|>1", 2},
    {"ControlCharacters",
     ">1\t|\n>1|>\x01"
     "1",
     ">0|<0|>0", 3},
    {"Blanks", "   |  >1 |> 1 ", "<0|<0|>1", 3},
    {"ThousandsSeparator", ">1,5|>2", ">0|>2", 2},
    {"TenThousandDigitWidth", QStringLiteral(">") + QString(9999, u'9'), ">0", 1},
    {"FiveThousandColumns", QString(4999, u'|'), QStringLiteral("<0") + QStringLiteral("|<0").repeated(4999), 3},
};

class ColumnFormats : public PagePrinterInputs, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(ColumnFormats, NormalizeAndLayOutWithoutFailing) {
  const FormatCase& c = GetParam();
  pp->SetTableGrid(true);
  pp->SetTableFormat(c.format);
  EXPECT_EQ(pp->TableFormat(), c.canonical);
  pp->SetTableFormat(pp->TableFormat());
  EXPECT_EQ(pp->TableFormat(), c.canonical) << "the canonical form reads back unchanged";
  const QStringList texts = LayOut(QStringLiteral("a|b|c"));
  EXPECT_EQ(texts.count(QStringLiteral("a")), 2);
  const int cells =
      int(texts.count(QStringLiteral("a")) + texts.count(QStringLiteral("b")) + texts.count(QStringLiteral("c")));
  EXPECT_EQ(cells, 2 * c.cellsDrawnPerRow);
}

INSTANTIATE_TEST_SUITE_P(Formats, ColumnFormats, ::testing::ValuesIn(kFormatCases),
                         [](const auto& p) { return std::string(p.param.name); });

struct FriendlyCase {
  const char* name;
  QString text;
  QString fileName;
  QString header;
  int columns;
};

const FriendlyCase kFriendlyCases[] = {
    {"Empty", "", "", "", 1},
    {"AmpersandAlone", "&", "", "", 1},
    {"TrailingAmpersand", "Title&", "", "Title", 1},
    {"ThreeAmpersands", "&&&", "", "&", 1},
    {"UnknownCodes", "&x&1&\t", "", "   ", 1},
    {"ColumnCodesOnly", "&l&c&r", "", "", 3},
    {"FileCodesWithoutAFileName", "&f|&F", "", " | ", 1},
    {"FileNameHoldingTheSeparator", "&F&rX", "/tmp/a|b", "/tmp/a|b|X", 2},
    {"ControlCharacters", "\x01\t&r\n", "", "\x01\t|\n", 2},
    {"TenThousandColumnCodes", QStringLiteral("&r").repeated(5000), "", "", 5000},
    {"TenThousandCharacters", QString(10000, u'x'), "", QString(10000, u'x'), 1},
};

class FriendlyTexts : public PagePrinterInputs, public ::testing::WithParamInterface<FriendlyCase> {};

TEST_P(FriendlyTexts, ConvertAndDecorateAPage) {
  const FriendlyCase& c = GetParam();
  pp->SetFileName(c.fileName);
  pp->SetFriendlyHeader(c.text);
  pp->SetFriendlyFooter(c.text);
  EXPECT_EQ(pp->FriendlyHeader(), c.text);
  EXPECT_EQ(pp->Header(), c.header);
  EXPECT_EQ(pp->Footer(), c.header);
  QStringList columns;
  TPagePrinter::SplitTokens(pp->HeaderFormat(), pp->TokenSeparator(), columns);
  EXPECT_EQ(columns.size(), c.columns);
  for (const QString& column : columns) {
    ASSERT_FALSE(column.isEmpty());
    EXPECT_TRUE(column[0] == u'<' || column[0] == u'>' || column[0] == u'^') << column.toStdString();
  }
  EXPECT_EQ(pp->FooterFormat(), pp->HeaderFormat());
  // A document decorates its pages with them (conversion runs again at BeginDoc).
  pp->BeginDoc();
  pp->WriteLine(QStringLiteral("body"));
  pp->EndDoc();
  EXPECT_EQ(pp->PageCount(), 1);
  EXPECT_EQ(pp->Header(), c.header);
}

INSTANTIATE_TEST_SUITE_P(Texts, FriendlyTexts, ::testing::ValuesIn(kFriendlyCases),
                         [](const auto& p) { return std::string(p.param.name); });

// ---------------------------------------------------------------------------
// Output file names for the text rendering. Every failure names the file and
// the reason; no descriptor stays open and the component can write elsewhere.

struct FileNameCase {
  const char* name;
  QString fileName;  // "%d" stands for a fresh temporary folder
  QString message;   // "%n" stands for the name as used (first 259 characters);
                     // " || " separates messages that are all right
};

const FileNameCase kFileNameCases[] = {
    {"Empty", "", "No file name given for the text output"},
    {"BlanksOnly", "   \t ", "No file name given for the text output"},
    {"MissingFolder", "%d/no-such-folder/out.txt", "Cannot open file \"%n\": No such file or directory"},
    {"UnwritableFolder", "/proc/tallyvane-out.txt", "Cannot open file \"%n\": No such file or directory"},
    // sysfs refuses new files; mounted read-only it says so instead.
    {"SystemFolder", "/sys/tallyvane-out.txt",
     "Cannot open file \"%n\": Permission denied || Cannot open file \"%n\": Read-only file system"},
    {"AFolder", "%d", "Cannot open file \"%n\": Is a directory"},
    {"UnderAFile", "%d/file.txt/out.txt", "Cannot open file \"%n\": Not a directory"},
    {"NameComponentTooLong", QStringLiteral("/") + QString(300, u'n'), "Cannot open file \"%n\": File name too long"},
    {"NulInTheName", QString::fromUtf16(u"%d/out\u0000.txt", 11), "Cannot open file \"%n\": Invalid argument"},
};

class OutputFileNames : public PagePrinterInputs, public ::testing::WithParamInterface<FileNameCase> {};

TEST_P(OutputFileNames, FailWithTheirReasonAndLeaveNothingOpen) {
  const FileNameCase& c = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  {
    QFile blocker(dir.filePath(QStringLiteral("file.txt")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  }
  QString name = c.fileName;
  name.replace(QStringLiteral("%d"), dir.path());
  pp->SetPrintToFile(true);
  pp->SetFileName(name);
  const QString used = pp->FileName().left(259);
  const int descriptors = OpenDescriptors();
  try {
    pp->BeginDoc();
    ADD_FAILURE() << "the file opened";
  } catch (const EInOutError& error) {
    QString expected = c.message;
    expected.replace(QStringLiteral("%n"), used);
    const QStringList alternatives = expected.split(QStringLiteral(" || "));
    EXPECT_TRUE(alternatives.contains(error.Message())) << error.Message().toStdString();
  }
  EXPECT_FALSE(pp->FileOpen());
  EXPECT_FALSE(pp->Printing());
  EXPECT_EQ(OpenDescriptors(), descriptors);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList({"file.txt"}))
      << "no stray file was made";

  // The component carries on: another name works, and the file is closed after it.
  pp->SetFileName(dir.filePath(QStringLiteral("good.txt")));
  pp->BeginDoc();
  pp->WriteLine(QStringLiteral("text"));
  pp->EndDoc();
  EXPECT_FALSE(pp->FileOpen());
  EXPECT_EQ(OpenDescriptors(), descriptors);
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("good.txt"))));
}

INSTANTIATE_TEST_SUITE_P(Names, OutputFileNames, ::testing::ValuesIn(kFileNameCases),
                         [](const auto& p) { return std::string(p.param.name); });

// Without a printer a document cannot be laid out, also not into a file; the
// failure says why and ending the document closes the file.
TEST_F(PagePrinterInputs, NoPrinterFailsTheFileDocumentAndClosesTheFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  printer->Config().available = false;
  pp->SetPrintToFile(true);
  pp->SetFileName(dir.filePath(QStringLiteral("out.txt")));
  pp->SetHeader(QStringLiteral("{$PAGE}"));
  const int descriptors = OpenDescriptors();
  try {
    pp->BeginDoc();
    pp->WriteTableLine(QStringLiteral("a|b"));
    pp->EndDoc();
    ADD_FAILURE() << "a document was laid out without a printer";
  } catch (const EPrinter& error) {
    EXPECT_EQ(error.Message(), QStringLiteral("There is no default printer currently selected"));
  }
  // The component does not roll back: the caller ends the document, which closes the file.
  EXPECT_TRUE(pp->FileOpen());
  pp->EndDoc();
  EXPECT_FALSE(pp->FileOpen());
  EXPECT_EQ(OpenDescriptors(), descriptors);
}

}  // namespace
