#pragma once
// Regional settings and the locale-aware conversions between text and numbers,
// money and dates. Every conversion takes the settings it uses; Current() is
// read from the system locale at start-up (tests pin en_US).
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <cstdint>

struct FormatSettings {
  QChar decimalSeparator = '.';
  QChar thousandSeparator = ',';
  QString currencyString = QStringLiteral("$");
  // Positive currency form: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
  int currencyFormat = 0;
  // Negative currency form, 0..15, as the Windows regional settings number them:
  // 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$", 6 "1-$", 7 "1$-",
  // 8 "-1 $", 9 "-$ 1", 10 "1 $-", 11 "$ 1-", 12 "$ -1", 13 "1- $", 14 "($ 1)", 15 "(1 $)".
  int negCurrFormat = 0;
  QChar dateSeparator = '/';
  QString shortDateFormat = QStringLiteral("M/d/yyyy");           // "ddddd"
  QString longDateFormat = QStringLiteral("dddd, MMMM d, yyyy");  // "dddddd"
  QChar timeSeparator = ':';
  QString shortTimeFormat = QStringLiteral("h:mm AMPM");          // "t"
  QString longTimeFormat = QStringLiteral("h:mm:ss AMPM");        // "tt"
  QString timeAMString = QStringLiteral("AM");
  QString timePMString = QStringLiteral("PM");

  static FormatSettings FromLocale(const QLocale& locale);
  static const FormatSettings& Current();
  static void SetCurrent(const FormatSettings& settings);
};

// Text to extended float with the platform's grammar: optional blanks, sign,
// digits with at most one decimal separator (at least one digit or the
// separator), optional exponent, optional blanks, nothing else. Rejects values
// beyond the 80-bit extended range. Never throws.
bool TryTextToFloat(const QString& text, long double& value, const FormatSettings& fs = FormatSettings::Current());
// The same, raising EConvertError "'%s' is not a valid floating point value".
long double StrToFloat(const QString& text, const FormatSettings& fs = FormatSettings::Current());
// Whole number: optional blanks, sign, decimal digits, nothing after; must fit 32 bits.
// Raises EConvertError "'%s' is not a valid integer value".
int32_t StrToInt(const QString& text);
bool TryStrToInt(const QString& text, int32_t& value);

// General number format: at most 15 significant digits, no trailing zeros, the
// settings' decimal separator, exponent notation only for extreme magnitudes.
QString FloatToStrGeneral(long double value, const FormatSettings& fs = FormatSettings::Current());
// Fixed-point with the given decimals (half away from zero), no grouping.
QString FormatFixed(long double value, int decimals, const FormatSettings& fs = FormatSettings::Current());
// Currency: grouping, the settings' decimal separator and currency forms, the given decimals.
QString FormatCurrency(long double value, int decimals, const FormatSettings& fs = FormatSettings::Current());

// Short-date conversion in the settings' order and separator; false when not a valid date.
bool TryStrToDate(const QString& text, QDate& date, const FormatSettings& fs = FormatSettings::Current());
// Date/time patterns: "ddddd" short date, "dddddd" long date, "t" short time, "tt" long time,
// and the ordinary codes (d, dd, m, mm, yy, yyyy, h, hh, n, nn, s, ss, /, :, quoted text).
QString FormatDateTime(const QString& pattern, const QDateTime& moment,
                       const FormatSettings& fs = FormatSettings::Current());
