// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The shortcuts of document output give exactly what the general code gives:
// amounts written as UTF-8, due dates, and table rows laid out from a parsed
// format that is kept between rows.
#include <QDateTime>
#include <functional>
#include <gtest/gtest.h>

#include "Conversions.h"
#include "DueDates.h"
#include "Money.h"
#include "PagePrinterFixtures.h"

namespace {

struct SettingsCase {
  const char* name;
  QChar thousands, decimal, date;
  QString currency;
};

class OutputShortcuts : public ::testing::TestWithParam<SettingsCase> {
 protected:
  FormatSettings Settings() const {
    FormatSettings fs;
    fs.thousandSeparator = GetParam().thousands;
    fs.decimalSeparator = GetParam().decimal;
    fs.dateSeparator = GetParam().date;
    fs.currencyString = GetParam().currency;
    return fs;
  }
};

TEST_P(OutputShortcuts, AmountsInUtf8AreFormatMoneysText) {
  const int64_t counts[] = {0,
                            49,
                            50,
                            -49,
                            -50,
                            10049,
                            12345678,
                            -99999950,
                            1000000000000000000LL - 1,
                            1000000000000000000LL,
                            -1000000000000000000LL,
                            INT64_MAX,
                            INT64_MIN};
  FormatSettings fs = Settings();
  for (int positive = 0; positive < 4; ++positive) {
    for (int negative = 0; negative < 16; ++negative) {
      fs.currencyFormat = positive;
      fs.negCurrFormat = negative;
      const MoneyUtf8Writer writer(fs);
      for (const int64_t count : counts) {
        std::string written;
        writer.Append(Money::FromCount(count), written);
        EXPECT_EQ(written, FormatMoney(Money::FromCount(count), fs).toStdString())
            << count << " forms " << positive << "/" << negative;
      }
    }
  }
}

TEST_P(OutputShortcuts, DueDatesAreThePatternsText) {
  const FormatSettings fs = Settings();
  const QDate dates[] = {
      QDate(2025, 1, 15), QDate(1, 1, 1), QDate(999, 12, 31), QDate(9999, 12, 31), QDate(10000, 1, 31),
      QDate(-44, 3, 15),  QDate()};
  for (const QDate& date : dates)
    EXPECT_EQ(FormatDueDate(date, fs),
              FormatDateTime(QStringLiteral("mm/dd/yyyy"), QDateTime(date, QTime(0, 0), Qt::UTC), fs))
        << date.toString(Qt::ISODate).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Settings, OutputShortcuts,
                         ::testing::Values(SettingsCase{"Us", u',', u'.', u'/', QStringLiteral("$")},
                                           SettingsCase{"GermanEuro", u'.', u',', u'.', QStringLiteral("\u20AC")},
                                           SettingsCase{"NoGrouping", QChar(), u'.', u'-', QStringLiteral("kr")},
                                           SettingsCase{"NarrowSpaceAndLongSign", QChar(0x202F), u',', QChar(0x2044),
                                                        QStringLiteral("\U0001F4B0 CHF")}),
                         [](const auto& p) { return std::string(p.param.name); });

// A row laid out after other formats, separators or default widths were used
// lands as it does on a component that never saw them.
TEST_F(PagePrinterFlowTest, RowsFollowEveryChangeOfWhatTheirFormatIsReadWith) {
  const QString row = QStringLiteral("a|bb|ccc");
  const FormatSettings saved = FormatSettings::Current();
  // The texts of the row drawn last, without their line's position.
  auto lastRow = [&] {
    const std::vector<DrawnText> texts = PageTexts(1);
    std::vector<DrawnText> last;
    for (auto t = texts.rbegin(); t != texts.rend() && t->y == texts.back().y; ++t) last.insert(last.begin(), *t);
    for (DrawnText& t : last) t.y = 0;
    return last;
  };
  auto layOut = [&](const std::function<void()>& first, const std::function<void()>& between) {
    Install(TTestPrinter::Setup{});
    first();
    pp->BeginDoc();
    if (between) {
      pp->WriteTableLine(row);
      between();
    }
    pp->WriteTableLine(row);
    pp->EndDoc();
    FormatSettings::SetCurrent(saved);
    return lastRow();
  };
  const std::function<void()> original = [&] { pp->SetTableFormat(QStringLiteral("<1|>1.5|^2")); };
  const std::function<void()> semicolon = [&] { pp->SetTokenSeparator(QChar(u';')); };
  const std::function<void()> separatedBySemicolon = [&] {
    original();
    semicolon();
  };
  const std::function<void()> wider = [&] { pp->SetDefaultColWidth(2.5); };
  const std::function<void()> decimalComma = [&] {
    FormatSettings fs = saved;
    fs.decimalSeparator = u',';
    FormatSettings::SetCurrent(fs);
  };
  struct Case {
    std::function<void()> first, between;
  } cases[] = {{original, [&] { pp->SetTableFormat(QStringLiteral(">2|<0.5|>1")); }},
               {original, semicolon},
               {separatedBySemicolon, wider},
               {original, decimalComma}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::vector<DrawnText> changed = layOut(cases[i].first, cases[i].between);
    const std::vector<DrawnText> unchanged = layOut(cases[i].first, nullptr);
    // The same component given the change before its first row.
    const std::vector<DrawnText> fromTheStart = layOut(
        [&] {
          cases[i].first();
          cases[i].between();
        },
        nullptr);
    EXPECT_EQ(changed, fromTheStart) << "case " << i;
    EXPECT_NE(changed, unchanged) << "case " << i;
  }
}

}  // namespace
