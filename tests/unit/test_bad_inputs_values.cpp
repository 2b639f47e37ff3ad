// Bad inputs below the windows, grouped by kind, each with the outcome it must
// give: the texts of the three input boxes, payment counts, start dates, column
// formats and friendly texts, and output file names. Nothing may crash or hang,
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

// "%t" in an expected outcome stands for the case's text.
QString Expand(const char* pattern, const QString& text) {
  QString expected = QString::fromUtf8(pattern);
  expected.replace(QStringLiteral("%t"), text);
  return expected;
}

// What Calculate makes of three texts: the check's message, the error that
// stops the reading, or the schedule's size and payment (ten-thousandths).
QString Outcome(const LoanInputTexts& texts) {
  if (const auto failing = CheckInputs(texts)) return QStringLiteral("check: ") + InputErrorMessage(*failing);
  LoanState state;
  try {
    ReadInputsAndComputePayment(texts, state);
    const Schedule schedule = BuildSchedule(state);
    return QStringLiteral("ok: %1 rows, payment %2").arg(schedule.rows.size()).arg(schedule.paymentAmount.count);
  } catch (const Exception& error) {
    return QStringLiteral("error: ") + error.Message();
  }
}

// ---------------------------------------------------------------------------
// The three input boxes: each text goes into one box, the other two hold
// 1000, 12 and 12.

struct BoxCase {
  const char* name;
  QString text;
  const char* amount;    // outcome with the text in the amount box
  const char* interest;  // ... in the interest box
  const char* payments;  // ... in the payments box
};

constexpr const char* kBadAmount = "check:    Invalid loan amount. Please try again.   ";
constexpr const char* kBadInterest = "check:    Invalid interest amount. Please try again.   ";
constexpr const char* kBadPayments = "check:    Invalid payments entry. Please try again.   ";
constexpr const char* kNotInteger = "error: '%t' is not a valid integer value";
// Amount 0 gives a zero payment; rate 0 gives 1000 / 12.
constexpr const char* kZeroAmount = "ok: 12 rows, payment 0";
constexpr const char* kZeroRate = "ok: 12 rows, payment 833333";

BoxCase Rejected(const char* name, QString text) {
  return {name, std::move(text), kBadAmount, kBadInterest, kBadPayments};
}

const BoxCase kBoxCases[] = {
    Rejected("Empty", ""),
    Rejected("OneBlank", " "),
    Rejected("Blanks", "     "),
    Rejected("PlusAlone", "+"),
    Rejected("MinusAlone", "-"),
    Rejected("SignsTogether", "+-1"),
    {"DecimalSeparatorAlone", ".", kZeroAmount, kZeroRate, kNotInteger},
    {"SignAndSeparator", "-.", kZeroAmount, kZeroRate, kNotInteger},
    Rejected("ThousandsSeparatorAlone", ","),
    Rejected("ThousandsSeparator", "1,000"),
    Rejected("TwoDecimalSeparators", "1.2.3"),
    Rejected("CurrencySymbol", "$100"),
    Rejected("HexNumber", "0x10"),
    Rejected("BlankInside", "1 2"),
    // The largest exponent the 80-bit format holds passes the check; money and a
    // single-precision rate cannot hold it, and it is no whole number.
    {"HugeExponentInRange", "1e4932", "error: Invalid floating point operation", "error: Floating point overflow",
     kNotInteger},
    Rejected("ExponentBeyondExtendedRange", "1e4933"),
    Rejected("ExponentWithTwentyDigits", "1e99999999999999999999"),
    {"TinyExponent", "1e-5000", kZeroAmount, kZeroRate, kNotInteger},
    {"TinyExponentWithTwentyDigits", "1e-99999999999999999999", kZeroAmount, kZeroRate, kNotInteger},
    {"ZeroWithHugeExponent", "0e99999999999999999999", kZeroAmount, kZeroRate, kNotInteger},
    Rejected("ExponentWithoutDigits", "1e"),
    Rejected("ExponentSignWithoutDigits", "1e+"),
    Rejected("ExponentAlone", "e5"),
    Rejected("NanLower", "nan"),
    Rejected("NanMixed", "NaN"),
    Rejected("InfLower", "inf"),
    Rejected("InfNegative", "-INF"),
    Rejected("Infinity", "Infinity"),
    Rejected("InfinityPositive", "+Infinity"),
    Rejected("TenThousandDigits", QString(10000, u'1')),
    Rejected("TenThousandBlanks", QString(10000, u' ')),
    {"TenThousandCharsOfTinyFraction", QStringLiteral("0.") + QString(9997, u'0') + QStringLiteral("1"), kZeroAmount,
     kZeroRate, kNotInteger},
    {"DigitThenTenThousandBlanks", QStringLiteral("0") + QString(9999, u' '), kZeroAmount, kZeroRate, kNotInteger},
    Rejected("TabBefore", "\t12"),
    Rejected("TabAfter", "12\t"),
    Rejected("LineFeedInside", "1\n2"),
    Rejected("CarriageReturnLineFeed", "12\r\n"),
    Rejected("NulInside", QString::fromUtf16(u"1\u00002", 3)),
    Rejected("Delete", "\x7f" "12"),
    Rejected("ZeroWidthSpace", QString::fromUtf16(u"\u200b12")),
    Rejected("FullwidthDigits", QString::fromUtf16(u"\uff11\uff12")),
    Rejected("ArabicIndicDigits", QString::fromUtf16(u"\u0661\u0662")),
};

class InputBoxes : public ::testing::TestWithParam<BoxCase> {};

TEST_P(InputBoxes, EachBoxGivesItsOutcome) {
  const BoxCase& c = GetParam();
  LoanInputTexts texts{QStringLiteral("1000"), QStringLiteral("12"), QStringLiteral("12")};
  texts.amount = c.text;
  EXPECT_EQ(Outcome(texts), Expand(c.amount, c.text)) << "in the amount box";
  texts.amount = QStringLiteral("1000");
  texts.interest = c.text;
  EXPECT_EQ(Outcome(texts), Expand(c.interest, c.text)) << "in the interest box";
  texts.interest = QStringLiteral("12");
  texts.payments = c.text;
  EXPECT_EQ(Outcome(texts), Expand(c.payments, c.text)) << "in the payments box";
}

INSTANTIATE_TEST_SUITE_P(Texts, InputBoxes, ::testing::ValuesIn(kBoxCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(InputBoxes, OnlyTheFirstBadBoxIsReported) {
  const LoanInputTexts texts{QStringLiteral("nan"), QStringLiteral("inf"), QStringLiteral("")};
  EXPECT_EQ(Outcome(texts), QString::fromUtf8(kBadAmount));
}

// ---------------------------------------------------------------------------
// Payment counts, monthly. A refused count leaves the count and the payment of
// the last calculation in the state.

struct CountCase {
  const char* name;
  const char* amount;
  const char* interest;
  const char* count;
  const char* outcome;  // "%t" stands for the count's text
  bool countStored;
};

const CountCase kCountCases[] = {
    {"Zero", "1000", "12", "0", "error: Floating point division by zero", true},
    {"ZeroWithZeroAmount", "0", "12", "0", "error: Invalid floating point operation", true},
    {"MinusOne", "1000", "12", "-1", "error: The number of payments must not be negative.", false},
    {"MostNegative", "1000", "12", "-2147483648", "error: The number of payments must not be negative.", false},
    {"BelowThirtyTwoBits", "1000", "12", "-2147483649", kNotInteger, false},
    {"One", "1000", "12", "1", "ok: 1 rows, payment 10100000", true},
    {"TheLimit", "1000000", "0", "1000000", "ok: 1000000 rows, payment 10000", true},
    // At 1 % a month over a million months only the interest is paid; the half
    // cent added to every row's interest then compounds until money overflows.
    {"TheLimitAtTwelvePercent", "1000", "12", "1000000", "error: Invalid floating point operation", true},
    {"OneAboveTheLimit", "1000", "12", "1000001", "limit", false},
    {"LargestThirtyTwoBits", "1000", "12", "2147483647", "limit", false},
    {"BeyondThirtyTwoBits", "1000", "12", "2147483648", kNotInteger, false},
    {"LeadingBlanksAndSign", "1000", "12", "  +12", "ok: 12 rows, payment 888488", true},
    {"TrailingBlank", "1000", "12", "12 ", kNotInteger, false},
    {"Fraction", "1000", "12", "12.5", kNotInteger, false},
    {"WholeFraction", "1000", "12", "12.0", kNotInteger, false},
    {"Exponent", "1000", "12", "1e2", kNotInteger, false},
    {"NegativeZero", "1000", "12", "-0", "error: Floating point division by zero", true},
};

class PaymentCounts : public ::testing::TestWithParam<CountCase> {};

TEST_P(PaymentCounts, GiveTheirOutcomeAndKeepTheLastCountWhenRefused) {
  const CountCase& c = GetParam();
  const QString count = QString::fromUtf8(c.count);
  const LoanInputTexts texts{QString::fromUtf8(c.amount), QString::fromUtf8(c.interest), count};
  ASSERT_FALSE(CheckInputs(texts).has_value()) << "every count here passes the check";
  QString expected = Expand(c.outcome, count);
  if (expected == QLatin1String("limit")) {
    expected = QStringLiteral("error: ") + TooManyPaymentsMessage();
    EXPECT_TRUE(TooManyPaymentsMessage().startsWith(QStringLiteral("The number of payments must not exceed 1")));
  }
  EXPECT_EQ(Outcome(texts), expected);

  LoanState state;
  state.PaymentCount = 7;
  state.PaymentAmount = Money::FromScaled(1234);
  try {
    ReadInputsAndComputePayment(texts, state);
  } catch (const Exception&) {
  }
  if (c.countStored) {
    EXPECT_EQ(state.PaymentCount, StrToInt(count));
  } else {
    EXPECT_EQ(state.PaymentCount, 7);
    EXPECT_EQ(state.PaymentAmount.count, 1234);
  }
}

INSTANTIATE_TEST_SUITE_P(Counts, PaymentCounts, ::testing::ValuesIn(kCountCases),
                         [](const auto& p) { return std::string(p.param.name); });

// ---------------------------------------------------------------------------
// Start dates in the regional short-date order.

enum class Region { UnitedStates, Britain, Germany, YearFirst };

FormatSettings Settings(Region region) {
  switch (region) {
    case Region::UnitedStates: return FormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    case Region::Britain: return FormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
    case Region::Germany: return FormatSettings::FromLocale(QLocale(QLocale::German, QLocale::Germany));
    case Region::YearFirst: break;
  }
  FormatSettings ymd;
  ymd.dateSeparator = u'-';
  ymd.shortDateFormat = QStringLiteral("yyyy/MM/dd");
  return ymd;
}

struct DateCase {
  const char* name;
  Region region;
  QString text;
  QDate expected;  // null: not a date
};

const DateCase kDateCases[] = {
    {"Empty", Region::UnitedStates, "", {}},
    {"Blanks", Region::UnitedStates, "   ", {}},
    {"SeparatorAlone", Region::UnitedStates, "/", {}},
    {"MonthAndDayOnly", Region::UnitedStates, "1/1", {}},
    {"MissingDay", Region::UnitedStates, "1//2025", {}},
    {"MonthThirteen", Region::UnitedStates, "13/1/2025", {}},
    {"MonthZero", Region::UnitedStates, "0/1/2025", {}},
    {"DayZero", Region::UnitedStates, "1/0/2025", {}},
    {"DayThirtyTwo", Region::UnitedStates, "1/32/2025", {}},
    {"ThirtyFirstOfApril", Region::UnitedStates, "4/31/2025", {}},
    {"TwentyNinthFebruaryCommonYear", Region::UnitedStates, "2/29/2025", {}},
    {"TwentyNinthFebruaryCentury", Region::UnitedStates, "2/29/1900", {}},
    {"TwentyNinthFebruaryLeapYear", Region::UnitedStates, "2/29/2024", QDate(2024, 2, 29)},
    {"TwentyNinthFebruaryFourHundred", Region::UnitedStates, "2/29/2000", QDate(2000, 2, 29)},
    {"YearZero", Region::UnitedStates, "1/1/0000", {}},
    {"OneDigitYear", Region::UnitedStates, "1/1/0", {}},
    {"NegativeYear", Region::UnitedStates, "1/1/-2025", {}},
    {"YearOne", Region::UnitedStates, "1/1/0001", QDate(1, 1, 1)},
    {"LastDayOfYear9999", Region::UnitedStates, "12/31/9999", QDate(9999, 12, 31)},
    {"FiveDigitYear", Region::UnitedStates, "1/1/10000", {}},
    {"HugeYear", Region::UnitedStates, "1/1/99999999999999999999", {}},
    {"TrailingText", Region::UnitedStates, "1/1/2025x", {}},
    {"TrailingLineFeed", Region::UnitedStates, "1/1/2025\n", {}},
    {"TabInside", Region::UnitedStates, "1/\t1/2025", {}},
    {"BlanksAroundNumbers", Region::UnitedStates, " 1 / 1 / 2025 ", QDate(2025, 1, 1)},
    {"FullwidthDigits", Region::UnitedStates, QString::fromUtf16(u"\uff11/\uff11/2025"), {}},
    {"TenThousandCharacters", Region::UnitedStates, QStringLiteral("1/1/") + QString(9996, u'2'), {}},
    {"IsoOrderInTheUnitedStates", Region::UnitedStates, "2025-12-31", {}},
    {"DayFirstInTheUnitedStates", Region::UnitedStates, "31/12/2025", {}},
    {"DayFirstInBritain", Region::Britain, "31/12/2025", QDate(2025, 12, 31)},
    {"MonthFirstInBritain", Region::Britain, "12/31/2025", {}},
    {"TwentyNinthFebruaryCommonYearInBritain", Region::Britain, "29/02/2025", {}},
    {"DotsInGermany", Region::Germany, "31.12.2025", QDate(2025, 12, 31)},
    {"SlashesInGermany", Region::Germany, "31/12/2025", {}},
    {"TwentyNinthFebruaryCommonYearInGermany", Region::Germany, "29.2.2025", {}},
    {"YearFirst", Region::YearFirst, "2025-12-31", QDate(2025, 12, 31)},
    {"DayFirstWhereYearComesFirst", Region::YearFirst, "31-12-2025", {}},
    {"TwentyNinthFebruaryCommonYearYearFirst", Region::YearFirst, "2025-2-29", {}},
};

class StartDates : public ::testing::TestWithParam<DateCase> {};

TEST_P(StartDates, AreReadInTheRegionalOrderOrRefused) {
  const DateCase& c = GetParam();
  const FormatSettings fs = Settings(c.region);
  QDate date;
  EXPECT_EQ(TryStrToDate(c.text, date, fs), c.expected.isValid());
  if (c.expected.isValid()) {
    EXPECT_EQ(date, c.expected);
  } else {
    try {
      StrToDate(c.text, fs);
      ADD_FAILURE() << "StrToDate accepted it";
    } catch (const EConvertError& error) {
      EXPECT_EQ(error.Message(), QStringLiteral("'%1' is not a valid date").arg(c.text));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, StartDates, ::testing::ValuesIn(kDateCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(StartDates, DueDatesPastTheYear9999KeepCounting) {
  QDate date(9999, 12, 31);
  date = NextDueDate(date, PaymentFrequency::Monthly);
  EXPECT_EQ(FormatDueDate(date), QStringLiteral("01/31/10000"));
  date = NextDueDate(date, PaymentFrequency::Weekly);
  EXPECT_EQ(FormatDueDate(date), QStringLiteral("02/07/10000"));
  // The longest weekly schedule from a near date ends 19,230 years on.
  QDate weekly(2025, 1, 1);
  for (int i = 1; i < kMaxPaymentCount; ++i) weekly = NextDueDate(weekly, PaymentFrequency::Weekly);
  EXPECT_EQ(weekly, QDate(2025, 1, 1).addDays(7LL * (kMaxPaymentCount - 1)));
  EXPECT_EQ(FormatDueDate(weekly), weekly.toString(QStringLiteral("MM/dd/")) + QString::number(weekly.year()));
}

// ---------------------------------------------------------------------------
// Column formats, friendly texts and file names on a page printer with a test
// printer (600 dpi, Letter, 0.1-inch offsets).

class PagePrinterInputs : public ::testing::Test {
 protected:
  void SetUp() override {
    auto test = std::make_unique<TTestPrinter>(TTestPrinter::Setup{});
    printer = test.get();
    previous = SetPrinter(std::move(test));
    pp = std::make_unique<TPagePrinter>();
    pp->SetMarginLeft(0.5);
    pp->SetMarginRight(0.5);
  }
  void TearDown() override {
    pp.reset();
    SetPrinter(std::move(previous));
  }
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
  std::unique_ptr<TPrinter> previous;
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
    {"ControlCharacters", ">1\t|\n>1|>\x01" "1", ">0|<0|>0", 3},
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
  const int cells = int(texts.count(QStringLiteral("a")) + texts.count(QStringLiteral("b")) +
                        texts.count(QStringLiteral("c")));
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
