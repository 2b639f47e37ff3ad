// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The PDF printer on recorded pages: a reader extracts every text written,
// page after page, and renders the file without a complaint.
#include <QRegularExpression>
#include <cmath>

#include "PdfWriter.h"
#include "PlatformPrintingTestSupport.h"

using namespace platform_printing_test;

namespace {

struct PdfCase {
  const char* name;
  std::function<void(TCanvas&)> draw;
  bool landscape = false;
};

TFont Font(const char* name, int height, TFontStyles style = 0, int orientation = 0) {
  TFont f = CourierPixels(height);
  f.SetName(name);
  f.SetStyle(style);
  f.SetOrientation(orientation);
  return f;
}

void Write(TCanvas& c, const TFont& font, int x, int y, const QString& text, TBrushStyle brush = bsClear) {
  c.Font().Assign(font);
  c.Brush().Style = brush;
  c.Brush().Color = clYellow;
  c.TextOut(x, y, text);
}

void ScheduleLike(TCanvas& c) {
  Write(c, Font("Courier New", -83, fsBold), 827, 0, "Amortization Schedule");
  Write(c, Font("Courier New", -75, fsBold), 690, 225, "Loan Amount: $1,000.00   Interest: 12% annually");
  const char* heads[] = {"Due Date", "Payment", "Principal", "Interest", "Balance"};
  for (int col = 0; col < 5; ++col)
    Write(c, Font("Courier New", -75, fsItalic | fsUnderline), 678 + 945 * col, 375, heads[col]);
  for (int row = 0; row < 40; ++row)
    for (int col = 0; col < 5; ++col)
      Write(c, Font("Courier New", -75), 588 + 945 * col, 525 + 75 * row,
            QString("$%1.%2").arg(1000 - row * 17 + col).arg(row % 100, 2, 10, QChar('0')));
  Write(c, Font("Courier New", -75, fsBold), 768, 3600, "Totals");
  c.Pen().Width = 3;
  c.MoveTo(588, 3550);
  c.LineTo(4800, 3550);
}

void ProportionalWords(TCanvas& c) {
  Write(c, Font("Arial", -100), 300, 300, "AVATAR Wave To: Yes, 1,234.50 (Zürich façade)");
  Write(c, Font("Arial", -80, fsBold | fsStrikeOut), 300, 600, "Total payments 12 of 360", bsSolid);
  Write(c, Font("MS Sans Serif", -90, fsItalic), 300, 900, "Page 7 - 31/12/2025");
}

void FallbackAndTurned(TCanvas& c) {
  Write(c, Font("Courier New", -83), 300, 300, "Ticks \u2713 \u2713 and arrows \u2192 \u2190 done");
  Write(c, Font("Arial", -83, 0, 900), 300, 3000, "Turned upwards 90");
  Write(c, Font("Arial", -83, 0, 2700), 4000, 1000, "Turned downwards 270");
}

// The page's texts in recording order, blanks collapsed.
QStringList WrittenTexts(const TMetafile& page) {
  QStringList texts;
  for (const TMetaOp* op : page.TextOperations()) texts << op->text.simplified();
  return texts;
}

class PdfOutput : public ::testing::TestWithParam<PdfCase> {};

TEST_P(PdfOutput, ReadsBackEveryTextWritten) {
  QTemporaryDir dir;
  const QString ours = dir.filePath("ours.pdf");
  auto printer = MakePdfPrinter(ours);
  if (GetParam().landscape) printer->SetOrientation(poLandscape);
  TMetafile page;
  page.SetWidth(GetDeviceCaps(printer->Handle(), HORZRES));
  page.SetHeight(GetDeviceCaps(printer->Handle(), VERTRES));
  {
    TMetafileCanvas canvas(&page, printer->Handle());
    GetParam().draw(canvas);
  }
  printer->BeginDoc();
  printer->Canvas()->Draw(0, 0, page);
  printer->NewPage();
  printer->Canvas()->Draw(0, 0, page);
  printer->EndDoc();

  const QString text = PdfText(ours);
  ASSERT_FALSE(text.trimmed().isEmpty());
  // Each page holds every text, and the two pages read the same.
  const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
  ASSERT_EQ(pages.size(), 2);
  EXPECT_EQ(pages[0], pages[1]);
  const QString flat = pages[0].simplified();
  for (const QString& written : WrittenTexts(page)) EXPECT_TRUE(flat.contains(written)) << written.toStdString();
  EXPECT_EQ(PdfPageCount(ours), 2);
  // A reader finds nothing to complain about in the file or its fonts.
  QProcess render;
  render.start("pdftoppm", {"-r", "30", "-png", ours, dir.filePath("render")});
  ASSERT_TRUE(render.waitForFinished(60000));
  EXPECT_EQ(render.exitCode(), 0);
  EXPECT_EQ(QString::fromUtf8(render.readAllStandardError()), QString());
  EXPECT_TRUE(QFile::exists(dir.filePath("render-1.png")));
}

// Word heights as a reader measures them (pdftotext -bbox), in page order.
std::vector<std::pair<QString, double>> WordHeights(const QString& file) {
  const QString html = RunTool("pdftotext", {"-bbox", file, "-"});
  static const QRegularExpression word(
      QStringLiteral("<word xMin=\"[\\d.]+\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
  std::vector<std::pair<QString, double>> words;
  for (const QRegularExpressionMatch& m : word.globalMatch(html))
    words.emplace_back(m.captured(3), m.captured(2).toDouble() - m.captured(1).toDouble());
  return words;
}

// A text that ends in a fallback face (the full-width yen) keeps its size
// when its page is drawn again at a third of it, and again at full size
// after: a face's sized font belongs to the frame it was made in.
TEST(PdfOutputFrames, FacesKeepTheirSizeAcrossAStretchedPage) {
  QTemporaryDir dir;
  const QString file = dir.filePath("frames.pdf");
  auto printer = MakePdfPrinter(file);
  TMetafile page;
  page.SetWidth(3000);
  page.SetHeight(600);
  {
    TMetafileCanvas recorder(&page, printer->Handle());
    Write(recorder, Font("Arial", -150), 0, 0, QStringLiteral("Paid \uFFE5"));
  }
  printer->BeginDoc();
  printer->Canvas()->Draw(300, 300, page);
  printer->Canvas()->StretchDraw(QRect(300, 1200, 1000, 200), page);
  printer->Canvas()->Draw(300, 2100, page);
  printer->EndDoc();
  const auto words = WordHeights(file);
  ASSERT_EQ(words.size(), 6u) << RunTool("pdftotext", {"-bbox", file, "-"}).toStdString();
  for (size_t i = 0; i < 2; ++i) {
    const double full = words[i].second, small = words[i + 2].second, again = words[i + 4].second;
    EXPECT_NEAR(small * 3, full, full * 0.05) << words[i].first.toStdString();
    EXPECT_NEAR(again, full, full * 0.01) << words[i].first.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Documents, PdfOutput,
                         ::testing::Values(PdfCase{"ScheduleLike", ScheduleLike},
                                           PdfCase{"ProportionalWords", ProportionalWords},
                                           PdfCase{"FallbackAndTurned", FallbackAndTurned},
                                           PdfCase{"ScheduleLikeLandscape", ScheduleLike, true}),
                         [](const auto& p) { return std::string(p.param.name); });

// Content-stream numbers: three decimals at most, no exponent, no "-0".
TEST(PdfNumbers, WrittenShortAndExact) {
  const std::pair<double, const char*> cases[] = {{0, "0"},
                                                  {-0.0004, "0"},
                                                  {1, "1"},
                                                  {-2.5, "-2.5"},
                                                  {0.1234, "0.123"},
                                                  {0.0005, "0.001"},
                                                  {1e12, "1000000000000"},
                                                  {-1234.5678, "-1234.568"},
                                                  {std::nan(""), "0"},
                                                  {0.12, "0.12"}};
  for (const auto& [value, written] : cases) {
    QByteArray out;
    AppendPdfNumber(out, value);
    EXPECT_EQ(out, QByteArray(written)) << value;
  }
}

}  // namespace
