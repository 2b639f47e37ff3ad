// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Short dates and date/time patterns under regional settings.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "Conversions.h"
#include "ConversionsTestSupport.h"
#include "Errors.h"

namespace {

// ---- dates ----

struct DateCase {
  const char* name;
  QString text;
  QDate expected;  // invalid: rejected
};

void PrintTo(const DateCase& c, std::ostream* os) { *os << c.name; }

class ShortDateUs : public ::testing::TestWithParam<DateCase> {};

TEST_P(ShortDateUs, MonthDayYear) {
  const DateCase& c = GetParam();
  QDate date(1900, 1, 1);
  const bool accepted = TryStrToDate(c.text, date, UsSettings());
  ASSERT_EQ(accepted, c.expected.isValid()) << c.text.toStdString();
  EXPECT_EQ(date, accepted ? c.expected : QDate(1900, 1, 1));
}

const DateCase kUsDates[] = {
    {"Plain", "1/31/2025", QDate(2025, 1, 31)},
    {"PaddedDigits", "01/05/2025", QDate(2025, 1, 5)},
    {"BlanksAround", "  3/4/2024  ", QDate(2024, 3, 4)},
    {"BlanksAroundSeparators", "3 / 4 / 2024", QDate(2024, 3, 4)},
    {"LeapDay", "2/29/2024", QDate(2024, 2, 29)},
    {"LeapDayOf2000", "2/29/2000", QDate(2000, 2, 29)},
    {"TwoDigitYear", "1/31/25", QDate(2025, 1, 31)},
    {"TwoDigitYear00", "12/31/00", QDate(2000, 12, 31)},
    {"FourDigitEarlyYear", "1/1/0001", QDate(1, 1, 1)},
    {"LastDay", "12/31/9999", QDate(9999, 12, 31)},
    {"DayMonthSwapped", "31/1/2025", QDate()},
    {"February31", "2/31/2025", QDate()},
    {"LeapDayCommonYear", "2/29/2025", QDate()},
    {"LeapDayOf1900", "2/29/1900", QDate()},
    {"Month13", "13/1/2025", QDate()},
    {"Month0", "0/1/2025", QDate()},
    {"Day0", "1/0/2025", QDate()},
    {"Year0", "1/1/0000", QDate()},
    {"ThreeDigitYear", "1/1/202", QDate()},
    {"OneDigitYear", "1/1/5", QDate()},
    {"FiveDigitYear", "1/1/20250", QDate()},
    {"ThreeDigitDay", "1/031/2025", QDate()},
    {"OtherSeparator", "1-31-2025", QDate()},
    {"TwoParts", "1/31", QDate()},
    {"FourParts", "1/31/2025/1", QDate()},
    {"TrailingSeparator", "1/31/2025/", QDate()},
    {"Empty", "", QDate()},
    {"Blanks", "   ", QDate()},
    {"Words", "January 31, 2025", QDate()},
    {"Tab", "1/31/2025\t", QDate()},
    {"SignedPart", "+1/31/2025", QDate()},
    {"ArabicIndicDigits", QString::fromUtf16(u"\u0661/31/2025"), QDate()},
};

INSTANTIATE_TEST_SUITE_P(Cases, ShortDateUs, ::testing::ValuesIn(kUsDates),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ShortDate, OtherRegionalOrders) {
  FormatSettings dmy;
  dmy.dateSeparator = u'.';
  dmy.shortDateFormat = "dd/MM/yyyy";
  QDate date;
  ASSERT_TRUE(TryStrToDate("31.01.2025", date, dmy));
  EXPECT_EQ(date, QDate(2025, 1, 31));
  EXPECT_FALSE(TryStrToDate("01.31.2025", date, dmy));
  EXPECT_FALSE(TryStrToDate("31/01/2025", date, dmy)) << "only the settings' separator";

  FormatSettings ymd;
  ymd.dateSeparator = u'-';
  ymd.shortDateFormat = "yyyy/MM/dd";
  ASSERT_TRUE(TryStrToDate("2025-1-31", date, ymd));
  EXPECT_EQ(date, QDate(2025, 1, 31));
  EXPECT_FALSE(TryStrToDate("31-1-2025", date, ymd));

  // A quoted literal in the pattern does not count as a code.
  FormatSettings quoted = dmy;
  quoted.shortDateFormat = "'my' dd/MM/yyyy";
  ASSERT_TRUE(TryStrToDate("5.6.2025", date, quoted));
  EXPECT_EQ(date, QDate(2025, 6, 5));

  const FormatSettings de = FormatSettings::FromLocale(QLocale(QLocale::German, QLocale::Germany));
  ASSERT_TRUE(TryStrToDate("29.2.2024", date, de));
  EXPECT_EQ(date, QDate(2024, 2, 29));
}

// Guards against refusing a date typed exactly as the region writes it.
TEST(ShortDate, RegionsEndingInTheSeparatorReadTheirOwnDates) {
  const QDateTime moment(QDate(2025, 1, 31), QTime(0, 0));
  for (const QLocale& locale :
       {QLocale(QLocale::Hungarian, QLocale::Hungary), QLocale(QLocale::Korean, QLocale::SouthKorea),
        QLocale(QLocale::Croatian, QLocale::Croatia)}) {
    SCOPED_TRACE(locale.name().toStdString());
    const FormatSettings fs = FormatSettings::FromLocale(locale);
    const QString written = FormatDateTime("ddddd", moment, fs);
    ASSERT_TRUE(written.trimmed().endsWith(fs.dateSeparator)) << written.toStdString();
    QDate date;
    ASSERT_TRUE(TryStrToDate(written, date, fs)) << written.toStdString();
    EXPECT_EQ(date, QDate(2025, 1, 31));
  }
  const FormatSettings hu = FormatSettings::FromLocale(QLocale(QLocale::Hungarian, QLocale::Hungary));
  QDate date;
  ASSERT_TRUE(TryStrToDate("2025.1.31", date, hu)) << "the closing separator may be left out";
  EXPECT_EQ(date, QDate(2025, 1, 31));
  EXPECT_FALSE(TryStrToDate("2025.1.31..", date, hu));
  EXPECT_FALSE(TryStrToDate("2025.1.31./", date, hu));
}

TEST(ShortDate, TwoDigitYearWindow) {
  EXPECT_EQ(ExpandTwoDigitYear(25, 2025), 2025);
  EXPECT_EQ(ExpandTwoDigitYear(74, 2025), 2074);
  EXPECT_EQ(ExpandTwoDigitYear(75, 2025), 1975);
  EXPECT_EQ(ExpandTwoDigitYear(99, 2025), 1999);
  EXPECT_EQ(ExpandTwoDigitYear(0, 2025), 2000);
  EXPECT_EQ(ExpandTwoDigitYear(49, 2099), 2049);
  EXPECT_EQ(ExpandTwoDigitYear(48, 2099), 2148);
  EXPECT_EQ(ExpandTwoDigitYear(50, 2099), 2050);
  EXPECT_EQ(ExpandTwoDigitYear(60, 2010), 1960);
  EXPECT_EQ(ExpandTwoDigitYear(59, 2010), 2059);
}

TEST(ShortDate, StrToDateRaises) {
  EXPECT_EQ(StrToDate("7/4/1976", UsSettings()), QDate(1976, 7, 4));
  try {
    StrToDate("2/30/2025", UsSettings());
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'2/30/2025' is not a valid date");
  }
}

TEST(FormatDateTime, DueDateFormat) {
  const QDateTime moment(QDate(2025, 1, 31), QTime(0, 0));
  EXPECT_EQ(FormatDateTime("mm/dd/yyyy", moment, UsSettings()), "01/31/2025");
  FormatSettings dotted = UsSettings();
  dotted.dateSeparator = u'.';
  EXPECT_EQ(FormatDateTime("mm/dd/yyyy", moment, dotted), "01.31.2025") << "'/' is the settings' separator";
  EXPECT_EQ(FormatDateTime("mm/dd/yyyy", QDateTime(QDate(987, 3, 3), QTime(0, 0)), UsSettings()), "03/03/0987");
}

TEST(FormatDateTime, RegionalPatterns) {
  const FormatSettings us = UsSettings();
  const QDateTime afternoon(QDate(2025, 1, 31), QTime(14, 5, 9, 7));
  EXPECT_EQ(FormatDateTime("ddddd", afternoon, us), "1/31/2025");
  EXPECT_EQ(FormatDateTime("dddddd", afternoon, us), "Friday, January 31, 2025");
  EXPECT_EQ(FormatDateTime("t", afternoon, us), "2:05 PM");
  EXPECT_EQ(FormatDateTime("tt", afternoon, us), "2:05:09 PM");
  EXPECT_EQ(FormatDateTime("c", afternoon, us), "1/31/2025 2:05:09 PM");
  EXPECT_EQ(FormatDateTime("c", QDateTime(QDate(2025, 1, 31), QTime(0, 0)), us), "1/31/2025");
  const QDateTime midnight(QDate(2024, 12, 1), QTime(0, 30, 0));
  EXPECT_EQ(FormatDateTime("t", midnight, us), "12:30 AM");
  const QDateTime noon(QDate(2024, 12, 1), QTime(12, 0, 0));
  EXPECT_EQ(FormatDateTime("tt", noon, us), "12:00:00 PM");

  const FormatSettings gb = FormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
  EXPECT_EQ(FormatDateTime("ddddd", afternoon, gb), "31/01/2025");
  EXPECT_EQ(FormatDateTime("dddddd", afternoon, gb), "Friday, 31 January 2025");
  EXPECT_EQ(FormatDateTime("t", afternoon, gb), "14:05");
  EXPECT_EQ(FormatDateTime("tt", afternoon, gb), "14:05:09");

  const FormatSettings de = FormatSettings::FromLocale(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(FormatDateTime("ddddd", afternoon, de), "31.01.2025");
  EXPECT_EQ(FormatDateTime("dddddd", afternoon, de), "Freitag, 31. Januar 2025");
}

TEST(FormatDateTime, Codes) {
  const FormatSettings us = UsSettings();
  const QDateTime m(QDate(2025, 3, 4), QTime(9, 7, 5, 42));
  EXPECT_EQ(FormatDateTime("d dd ddd dddd", m, us), "4 04 Tue Tuesday");
  EXPECT_EQ(FormatDateTime("m mm mmm mmmm", m, us), "3 03 Mar March");
  EXPECT_EQ(FormatDateTime("yy yyyy", m, us), "25 2025");
  EXPECT_EQ(FormatDateTime("h:mm:ss", m, us), "9:07:05") << "m after h is minutes";
  EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", m, us), "09:07:05.042");
  EXPECT_EQ(FormatDateTime("hh:nn:ss.z", m, us), "09:07:05.42");
  EXPECT_EQ(FormatDateTime("H:N am/pm", QDateTime(QDate(2025, 3, 4), QTime(21, 7)), us), "9:7 pm");
  EXPECT_EQ(FormatDateTime("h AM/PM", QDateTime(QDate(2025, 3, 4), QTime(21, 7)), us), "9 PM");
  EXPECT_EQ(FormatDateTime("h a/p", m, us), "9 a");
  EXPECT_EQ(FormatDateTime("hh", QDateTime(QDate(2025, 3, 4), QTime(21, 7)), us), "21") << "24-hour without am/pm";
  EXPECT_EQ(FormatDateTime("'d is' d \"m\"", m, us), "d is 4 m");
  EXPECT_EQ(FormatDateTime("'unterminated", m, us), "unterminated");
  EXPECT_EQ(FormatDateTime("", m, us), "");
  EXPECT_EQ(FormatDateTime("#!", m, us), "#!");
}

TEST(FormatDateTime, SelfReferencingRegionalFormatTerminates) {
  FormatSettings fs = UsSettings();
  fs.shortDateFormat = "ddddd";
  fs.shortTimeFormat = "t";
  const QDateTime m(QDate(2025, 3, 4), QTime(9, 7));
  EXPECT_EQ(FormatDateTime("ddddd|t", m, fs), "|");
}

}  // namespace
