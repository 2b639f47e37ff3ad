#include "Device.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>
#include <cstdlib>

namespace {
// Font metrics need a running QGuiApplication; without one (a console tool
// before start-up) there is nothing to measure with.
bool HaveGuiApplication() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

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
      case LOGPIXELSX:
        return screen ? RoundDpi(screen->logicalDotsPerInchX(), 96) : 96;
      case LOGPIXELSY:
        return screen ? RoundDpi(screen->logicalDotsPerInchY(), 96) : 96;
      case HORZRES:
        return screen ? screen->geometry().width() : 0;
      case VERTRES:
        return screen ? screen->geometry().height() : 0;
      default:
        // A display has no sheet and no unprintable border.
        return 0;
    }
  }
};
}  // namespace

struct TDeviceContext::MetricsCache {
  explicit MetricsCache(const TFont& f) : metrics(f.ToQFont()) { font.Assign(f); }
  TFont font;
  QFontMetrics metrics;
};

const TDeviceContext::MetricsCache& TDeviceContext::Metrics(const TFont& font) const {
  if (!metrics_ || !metrics_->font.SameAs(font)) metrics_ = std::make_shared<MetricsCache>(font);
  return *metrics_;
}

int TDeviceContext::TextWidth(const TFont& font, const QString& text) const {
  if (text.isEmpty() || !HaveGuiApplication()) return 0;
  return Metrics(font).metrics.horizontalAdvance(text);
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
