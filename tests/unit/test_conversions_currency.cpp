// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Currency formats and the regional settings read from a locale.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "Conversions.h"
#include "ConversionsTestSupport.h"
#include "Errors.h"

namespace {

FormatSettings Money(QChar decimal, QChar group, const QString& symbol, int positive, int negative) {
  FormatSettings fs;
  fs.decimalSeparator = decimal;
  fs.thousandSeparator = group;
  fs.currencyString = symbol;
  fs.currencyFormat = positive;
  fs.negCurrFormat = negative;
  return fs;
}

TEST(FormatCurrency, RegionalDecorations) {
  struct Case {
    const char* locale;
    FormatSettings fs;
    QString positive, negative;
  };
  const Case cases[] = {
      {"en_US", Money(u'.', u',', "$", 0, 0), "$1,234,567.89", "($1,234,567.89)"},
      {"de_DE", Money(u',', u'.', QString::fromUtf16(u"\u20ac"), 3, 8), QString::fromUtf16(u"1.234.567,89 \u20ac"),
       QString::fromUtf16(u"-1.234.567,89 \u20ac")},
      {"fr_FR", Money(u',', QChar(0x202f), QString::fromUtf16(u"\u20ac"), 3, 8),
       QString::fromUtf16(u"1\u202f234\u202f567,89 \u20ac"), QString::fromUtf16(u"-1\u202f234\u202f567,89 \u20ac")},
      {"ja_JP", Money(u'.', u',', QString::fromUtf16(u"\u00a5"), 0, 1), QString::fromUtf16(u"\u00a51,234,567.89"),
       QString::fromUtf16(u"-\u00a51,234,567.89")},
      {"en_GB", Money(u'.', u',', QString::fromUtf16(u"\u00a3"), 0, 1), QString::fromUtf16(u"\u00a31,234,567.89"),
       QString::fromUtf16(u"-\u00a31,234,567.89")},
      {"nl_NL", Money(u',', u'.', QString::fromUtf16(u"\u20ac"), 2, 12), QString::fromUtf16(u"\u20ac 1.234.567,89"),
       QString::fromUtf16(u"\u20ac -1.234.567,89")},
      {"da_DK", Money(u',', u'.', "kr.", 2, 12), "kr. 1.234.567,89", "kr. -1.234.567,89"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.locale);
    EXPECT_EQ(FormatCurrency(1234567.885L, 2, c.fs), c.positive);
    EXPECT_EQ(FormatCurrency(-1234567.885L, 2, c.fs), c.negative);
  }
}

TEST(FormatCurrency, SmallAndZeroAmounts) {
  const FormatSettings us = UsSettings();
  EXPECT_EQ(FormatCurrency(88.8488L, 2, us), "$88.85");
  EXPECT_EQ(FormatCurrency(10.005L, 2, us), "$10.01");
  EXPECT_EQ(FormatCurrency(0, 2, us), "$0.00");
  EXPECT_EQ(FormatCurrency(-0.001L, 2, us), "$0.00") << "a negative amount that rounds to zero";
  EXPECT_EQ(FormatCurrency(-0.005L, 2, us), "($0.01)");
  EXPECT_EQ(FormatCurrency(999.5L, 0, us), "$1,000");
  EXPECT_EQ(FormatCurrency(100, 2, us), "$100.00");
  EXPECT_EQ(FormatCurrency(1000, 2, us), "$1,000.00");
  EXPECT_EQ(FormatCurrency(100000, 2, us), "$100,000.00");
}

TEST(ApplyCurrencyFormat, AllSixteenNegativeForms) {
  const char* const expected[] = {
      "(\xa4"
      "1,234.50)",
      "-\xa4"
      "1,234.50",
      "\xa4-1,234.50",
      "\xa4"
      "1,234.50-",
      "(1,234.50\xa4)",
      "-1,234.50\xa4",
      "1,234.50-\xa4",
      "1,234.50\xa4-",
      "-1,234.50 \xa4",
      "-\xa4 1,234.50",
      "1,234.50 \xa4-",
      "\xa4 1,234.50-",
      "\xa4 -1,234.50",
      "1,234.50- \xa4",
      "(\xa4 1,234.50)",
      "(1,234.50 \xa4)"};
  FormatSettings fs = Money(u'.', u',', "EUR", 0, 0);
  for (int form = 0; form < 16; ++form) {
    fs.negCurrFormat = form;
    const QString want = QString::fromLatin1(expected[form]).replace(QChar(0xa4), "EUR");
    EXPECT_EQ(ApplyCurrencyFormat(true, "1234", "50", fs), want) << "form " << form;
    EXPECT_EQ(ApplyCurrencyFormat(false, "1234", "50", fs), "EUR1,234.50") << "positive ignores the negative form";
  }
}

TEST(ApplyCurrencyFormat, PositiveFormsAndDigitHandling) {
  FormatSettings fs = Money(u',', u'.', "kr", 0, 0);
  const char* const expected[] = {"kr1.234,50", "1.234,50kr", "kr 1.234,50", "1.234,50 kr"};
  for (int form = 0; form < 4; ++form) {
    fs.currencyFormat = form;
    EXPECT_EQ(ApplyCurrencyFormat(false, "1234", "50", fs), expected[form]) << "form " << form;
  }
  fs.currencyFormat = 0;
  EXPECT_EQ(ApplyCurrencyFormat(false, "", "00", fs), "kr0,00");
  EXPECT_EQ(ApplyCurrencyFormat(false, "000", "", fs), "kr0");
  EXPECT_EQ(ApplyCurrencyFormat(false, "00123", "4", fs), "kr123,4");
  EXPECT_EQ(ApplyCurrencyFormat(false, "922337203685477", "5807", fs), "kr922.337.203.685.477,5807");
  fs.thousandSeparator = QChar();
  EXPECT_EQ(ApplyCurrencyFormat(false, "1234567", "89", fs), "kr1234567,89");
  fs.negCurrFormat = 99;
  EXPECT_EQ(ApplyCurrencyFormat(true, "1", "", fs), "(kr1)") << "an unknown form falls back to 0";
}

// ---- settings from a locale ----

TEST(FromLocale, UnitedStates) {
  const FormatSettings fs = UsSettings();
  EXPECT_EQ(fs.decimalSeparator, u'.');
  EXPECT_EQ(fs.thousandSeparator, u',');
  EXPECT_EQ(fs.currencyString, "$");
  EXPECT_EQ(fs.currencyFormat, 0);
  EXPECT_EQ(fs.negCurrFormat, 0) << "Qt writes ($1,234.50)";
  EXPECT_EQ(fs.dateSeparator, u'/');
  EXPECT_EQ(fs.shortDateFormat, "M/d/yyyy") << "two-digit years are widened";
  EXPECT_EQ(fs.longDateFormat, "dddd, MMMM d, yyyy");
  EXPECT_EQ(fs.timeSeparator, u':');
  EXPECT_EQ(fs.shortTimeFormat, "h:nn AMPM");
  EXPECT_EQ(fs.longTimeFormat, "h:nn:ss AMPM") << "the time zone is dropped";
  EXPECT_EQ(fs.timeAMString, "AM");
  EXPECT_EQ(fs.longMonthNames.value(0), "January");
  EXPECT_EQ(fs.shortDayNames.value(6), "Sun");
}

TEST(FromLocale, CurrencyFormsFollowWhatTheLocaleWrites) {
  struct Case {
    QLocale locale;
    int positive, negative;
  };
  const Case cases[] = {
      {QLocale(QLocale::German, QLocale::Germany), 3, 8},         // 1.234,50 €  -1.234,50 €
      {QLocale(QLocale::French, QLocale::France), 3, 15},         // 1 234,50 €  (1 234,50 €)
      {QLocale(QLocale::Japanese, QLocale::Japan), 0, 0},         // ￥1,235  (￥1,235)
      {QLocale(QLocale::English, QLocale::UnitedKingdom), 0, 0},  // £1,234.50  (£1,234.50)
      {QLocale(QLocale::Dutch, QLocale::Netherlands), 2, 14},     // € 1.234,50  (€ 1.234,50)
      {QLocale(QLocale::Portuguese, QLocale::Brazil), 2, 12},     // R$ 1.234,50  R$ -1.234,50
      {QLocale(QLocale::Hindi, QLocale::India), 0, 2},            // ₹1,234.50  ₹-1,234.50
      {QLocale(QLocale::Swedish, QLocale::Sweden), 3, 8},         // U+2212 minus sign
      {QLocale(QLocale::Hebrew, QLocale::Israel), 3, 8},          // bidirectional marks ignored
      {QLocale(QLocale::Arabic, QLocale::Egypt), 3, 8},           // other digits and marks
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.locale.name().toStdString());
    const FormatSettings fs = FormatSettings::FromLocale(c.locale);
    EXPECT_EQ(fs.currencyFormat, c.positive);
    EXPECT_EQ(fs.negCurrFormat, c.negative);
  }
}

TEST(FromLocale, SeparatorsAndDateOrders) {
  const FormatSettings de = FormatSettings::FromLocale(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(de.decimalSeparator, u',');
  EXPECT_EQ(de.thousandSeparator, u'.');
  EXPECT_EQ(de.currencyString, QString::fromUtf16(u"\u20ac"));
  EXPECT_EQ(de.dateSeparator, u'.');
  EXPECT_EQ(de.shortDateFormat, "dd/MM/yyyy");
  EXPECT_EQ(de.shortTimeFormat, "hh:nn");

  const FormatSettings ja = FormatSettings::FromLocale(QLocale(QLocale::Japanese, QLocale::Japan));
  EXPECT_EQ(ja.shortDateFormat, "yyyy/MM/dd");
  const QDateTime moment(QDate(2025, 1, 31), QTime(14, 5, 9));
  EXPECT_EQ(FormatDateTime("dddddd", moment, ja), QString::fromUtf16(u"2025年1月31日金曜日"))
      << "letters of the locale's text are quoted";
  EXPECT_EQ(FormatDateTime("tt", moment, ja), QString::fromUtf16(u"14時05分09秒"));

  const FormatSettings fi = FormatSettings::FromLocale(QLocale(QLocale::Finnish, QLocale::Finland));
  EXPECT_EQ(fi.timeSeparator, u'.');
  EXPECT_EQ(FormatDateTime("t", moment, fi), "14.05");
  QDate date;
  ASSERT_TRUE(TryStrToDate("31.1.2025", date, fi));
  EXPECT_EQ(date, QDate(2025, 1, 31));

  const FormatSettings c = FormatSettings::FromLocale(QLocale::c());
  EXPECT_EQ(c.dateSeparator, u'/') << "a short date with month names still gets a numeric form";
  ASSERT_TRUE(TryStrToDate("31/1/2025", date, c));
  EXPECT_EQ(date, QDate(2025, 1, 31));
}

TEST(FormatSettings, CurrentCanBeReplaced) {
  const FormatSettings saved = FormatSettings::Current();
  FormatSettings::SetCurrent(CommaSettings());
  EXPECT_EQ(FormatSettings::Current().decimalSeparator, u',');
  EXPECT_EQ(FloatToStrGeneral(2.5L), "2,5");
  FormatSettings::SetCurrent(FormatSettings::Current());  // self-assignment is harmless
  EXPECT_EQ(FormatSettings::Current().decimalSeparator, u',');
  FormatSettings::SetCurrent(saved);
  EXPECT_EQ(FloatToStrGeneral(2.5L), "2.5");
}

}  // namespace
