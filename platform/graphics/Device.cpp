// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "Device.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHash>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace {
// Font metrics need a running QGuiApplication; without one (a console tool
// before start-up) there is nothing to measure with.
bool HaveGuiApplication() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

QScreen* PrimaryScreen() { return HaveGuiApplication() ? QGuiApplication::primaryScreen() : nullptr; }

int RoundDpi(qreal dpi, int fallback) {
  const int rounded = int(std::lround(dpi));
  return rounded > 0 ? rounded : fallback;
}

class ScreenContext : public TDeviceContext {
 public:
  int Caps(TDeviceCap index) const override {
    QScreen* screen = PrimaryScreen();
    switch (index) {
      case LOGPIXELSX: return screen ? RoundDpi(screen->logicalDotsPerInchX(), 96) : 96;
      case LOGPIXELSY: return screen ? RoundDpi(screen->logicalDotsPerInchY(), 96) : 96;
      case HORZRES: return screen ? screen->geometry().width() : 0;
      case VERTRES: return screen ? screen->geometry().height() : 0;
      default:
        // A display has no sheet and no unprintable border.
        return 0;
    }
  }
};
}  // namespace

// What layout measures most: cells of digits, separators and currency signs
// in a handful of fonts, and the same headings on every page. Fonts are built
// without kerning, so such a run is as wide as the sum of its characters'
// advances; those are kept per font in Qt's 1/64-pixel units, and every other
// text keeps its measured width. Either way the result is the full layout's.
struct TDeviceContext::MetricsCache {
  explicit MetricsCache(const TFont& f) : qfont(f.ToQFont()), metrics(qfont), exact(qfont) {
    font.Assign(f);
    latin.fill(kUnknown);
  }
  int Width(const QString& text);
  static constexpr int kUnknown = -1;
  static constexpr int kNotSimple = -2;
  // Keeps the per-text widths of one font bounded however many texts a document has.
  static constexpr qsizetype kMaxWidths = 8192;
  TFont font;
  QFont qfont;
  QFontMetrics metrics;
  QFontMetricsF exact;
  std::array<int, 256> latin;
  std::array<std::pair<char16_t, int>, 4> extra{
      {{u'\u2009', kUnknown}, {u'\u202F', kUnknown}, {u'\u20AC', kUnknown}, {u'\u2212', kUnknown}}};
  // The rest of the characters met (the full-width yen of Japanese amounts, say).
  QHash<char16_t, int> others;
  QHash<QString, int> widths;

 private:
  int* Slot(char16_t c);
  int Advance(char16_t c, int* slot);
  int64_t Fixed(const QString& text) const { return std::llround(exact.horizontalAdvance(text) * 64); }
};

int* TDeviceContext::MetricsCache::Slot(char16_t c) {
  if (c < 256) return &latin[c];
  for (auto& [ch, advance] : extra)
    if (ch == c) return &advance;
  // Surrogates stand for characters beyond the table's reach; format
  // characters (bidi controls, joiners, number signs that span the digits
  // after them) and line separators act on their neighbours.
  if (QChar::isSurrogate(c)) return nullptr;
  const QChar::Category category = QChar::category(char32_t(c));
  if (category == QChar::Other_Format || category == QChar::Separator_Line || category == QChar::Separator_Paragraph)
    return nullptr;
  auto known = others.find(c);
  if (known == others.end()) known = others.insert(c, kUnknown);
  return &known.value();
}

// A character joins the table only if it measures the same alone and between
// digits; letters (ligatures), marks and controls never do.
int TDeviceContext::MetricsCache::Advance(char16_t c, int* slot) {
  const QChar ch(c);
  if (c < 0x20 || (c >= 0x7F && c < 0xA0) || ch.isLetter() || ch.isMark()) return *slot = kNotSimple;
  const int64_t alone = Fixed(QString(ch));
  const int64_t zero = Fixed(QStringLiteral("0"));
  QString probe = QStringLiteral("0");
  probe += ch;
  probe += u'0';
  probe += ch;
  if (alone < 0 || alone > (1 << 24) || Fixed(probe) != 2 * (alone + zero)) return *slot = kNotSimple;
  return *slot = int(alone);
}

int TDeviceContext::MetricsCache::Width(const QString& text) {
  int64_t sum = 0;
  bool simple = true;
  for (const QChar ch : text) {
    int* slot = Slot(ch.unicode());
    if (!slot) {
      simple = false;
      break;
    }
    int advance = *slot;
    if (advance == kUnknown) advance = Advance(ch.unicode(), slot);
    if (advance == kNotSimple) {
      simple = false;
      break;
    }
    sum += advance;
  }
  // Qt rounds the laid-out width, a 26.6 fixed-point value, half up.
  if (simple) return int((sum + 32) >> 6);
  const auto found = widths.constFind(text);
  if (found != widths.cend()) return *found;
  if (widths.size() >= kMaxWidths) widths.clear();
  const int width = metrics.horizontalAdvance(text);
  widths.insert(text, width);
  return width;
}

const TDeviceContext::MetricsCache& TDeviceContext::Metrics(const TFont& font) const { return MutableMetrics(font); }

TDeviceContext::MetricsCache& TDeviceContext::MutableMetrics(const TFont& font) const {
  // Most recently used first: a document switches between a few fonts.
  auto& list = metrics_;
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i]->font.SameAs(font)) {
      if (i) std::rotate(list.begin(), list.begin() + ptrdiff_t(i), list.begin() + ptrdiff_t(i) + 1);
      return *list.front();
    }
  }
  if (list.size() >= kFontsKept) list.pop_back();
  list.insert(list.begin(), std::make_shared<MetricsCache>(font));
  return *list.front();
}

int TDeviceContext::TextWidth(const TFont& font, const QString& text) const {
  if (text.isEmpty() || !HaveGuiApplication()) return 0;
  return MutableMetrics(font).Width(text);
}

int TDeviceContext::TextHeight(const TFont& font, const QString& text) const {
  Q_UNUSED(text);
  if (!HaveGuiApplication()) return std::abs(font.Height());
  return Metrics(font).metrics.height();
}

TTextMetric TDeviceContext::TextMetrics(const TFont& font) const {
  TTextMetric tm;
  const int charHeight = std::abs(font.Height());
  if (!HaveGuiApplication()) {
    tm.tmHeight = charHeight;
    tm.tmAscent = charHeight * 4 / 5;
    tm.tmDescent = charHeight - tm.tmAscent;
    return tm;
  }
  const QFontMetrics& fm = Metrics(font).metrics;
  tm.tmAscent = fm.ascent();
  tm.tmDescent = fm.descent();
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  // The font is sized by character height; what the cell has above that is internal leading.
  tm.tmInternalLeading = std::max(0, tm.tmHeight - charHeight);
  tm.tmExternalLeading = std::max(0, fm.leading());
  tm.tmAveCharWidth = fm.averageCharWidth();
  return tm;
}

int GetDeviceCaps(const TDeviceContext* dc, TDeviceCap index) { return dc ? dc->Caps(index) : 0; }

bool GetTextMetrics(TDeviceContext* dc, TTextMetric& metrics) {
  if (!dc) return false;
  metrics = dc->TextMetrics(dc->SelectedFont());
  return true;
}

int ScreenPixelsPerInch() {
  QScreen* screen = PrimaryScreen();
  return screen ? RoundDpi(screen->logicalDotsPerInch(), 96) : 96;
}

TDeviceContext* ScreenDC() {
  static ScreenContext screen;
  return &screen;
}
