// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Every kind of face the PDF printer meets, one document each: the faces are
// embedded (pdffonts), the text reads back as written (pdftotext, after
// Unicode normalisation) and the page has ink where the text is (pdftoppm);
// a style the face lacks shows: bold heavier, italic slanted.
#include <QFontInfo>
#include <QImage>
#include <QRegularExpression>

#include "PlatformPrintingTestSupport.h"

using namespace platform_printing_test;

namespace {

enum class Style { Same, Heavier, Different };

struct FaceCase {
  const char* name;
  const char* family;  // skipped, with the package named, when not installed
  const char* package;
  TFontStyles style;
  const char16_t* text;
  const char* embedded;         // part of the embedded font's name
  Style against = Style::Same;  // what the asked style does compared with regular
  int height = -100;            // a bitmap face is drawn at a size it has
  int renderDpi = 150;          // and seen at the printer's resolution, where its pixels are whole
};

void PrintTo(const FaceCase& c, std::ostream* os) { *os << c.name; }

struct Printed {
  QString text;       // pdftotext
  QStringList fonts;  // pdffonts' rows
  qint64 ink = 0;     // dark pixels of the rendered page
  QImage image;
};

Printed Print(const QString& file, const FaceCase& c, TFontStyles style) {
  auto printer = MakePdfPrinter(file);
  printer->BeginDoc();
  TCanvas* canvas = printer->Canvas();
  TFont font = CourierPixels(c.height);
  font.SetName(QString::fromLatin1(c.family));
  font.SetStyle(style);
  canvas->Font().Assign(font);
  canvas->Brush().Style = bsClear;
  canvas->TextOut(300, 300, QString::fromUtf16(c.text));
  printer->EndDoc();
  Printed p;
  p.text = RunTool("pdftotext", {file, "-"});
  const QStringList rows = RunTool("pdffonts", {file}).split(u'\n', Qt::SkipEmptyParts);
  p.fonts = rows.mid(2);  // past the heading and its rule
  // The top three inches hold the text; a whole page at 600 dpi is past QImage's limit.
  RunTool("pdftoppm", {"-r", QString::number(c.renderDpi), "-H", QString::number(3 * c.renderDpi), "-gray", "-png",
                       "-singlefile", file, file});
  p.image.load(file + ".png");
  for (int y = 0; y < p.image.height(); ++y)
    for (int x = 0; x < p.image.width(); ++x) p.ink += qGray(p.image.pixel(x, y)) < 128;
  return p;
}

QString Normalised(const QString& text) {
  QString flat = text.normalized(QString::NormalizationForm_KC);
  flat.replace(QChar(0x2028), u' ');
  // Blanks, and the direction marks a reader puts around right-to-left runs.
  flat.remove(QRegularExpression(QStringLiteral("[\\s\\p{Cf}]+")));
  return flat;
}

class PdfFonts : public ::testing::TestWithParam<FaceCase> {};

TEST_P(PdfFonts, EmbeddedExtractableAndDrawn) {
  const FaceCase& c = GetParam();
  if (!QFontInfo(QFont(QString::fromLatin1(c.family))).family().startsWith(QString::fromLatin1(c.family)))
    GTEST_SKIP() << c.family << " is not installed (Debian package " << c.package << ")";
  QTemporaryDir dir;
  const Printed p = Print(dir.filePath("face.pdf"), c, c.style);
  ASSERT_FALSE(p.fonts.isEmpty()) << "no font in the document: the text was drawn as outlines";
  bool named = false;
  for (const QString& row : p.fonts) {
    // Embedded and mapped to Unicode (a bitmap face's Type 3 font is no subset).
    EXPECT_TRUE(row.contains(QRegularExpression(QStringLiteral("\\byes\\s+(yes|no)\\s+yes\\b"))))
        << "not embedded or not mapped to Unicode: " << row.toStdString();
    named = named || row.contains(QString::fromLatin1(c.embedded), Qt::CaseInsensitive);
  }
  EXPECT_TRUE(named) << "no font named like " << c.embedded << " in:\n" << p.fonts.join(u'\n').toStdString();
  EXPECT_TRUE(Normalised(p.text).contains(Normalised(QString::fromUtf16(c.text))))
      << "extracted: " << p.text.toStdString();
  EXPECT_GT(p.ink, 50) << "the page is blank";
  if (c.against == Style::Same) return;
  const Printed regular = Print(dir.filePath("regular.pdf"), c, 0);
  if (c.against == Style::Heavier)
    EXPECT_GT(p.ink, regular.ink * 21 / 20) << "bold is no heavier than regular";
  else
    EXPECT_NE(p.image, regular.image) << "the style asked for looks like regular";
}

INSTANTIATE_TEST_SUITE_P(
    Faces, PdfFonts,
    ::testing::Values(
        FaceCase{"TrueType", "Liberation Sans", "fonts-liberation", 0, u"Amortization Schedule 1,234.56",
                 "LiberationSans"},
        FaceCase{"TrueTypeBold", "Liberation Sans", "fonts-liberation", fsBold, u"Totals 9,876.54", "Bold",
                 Style::Heavier},
        FaceCase{"CffCantarell", "Cantarell", "fonts-cantarell", 0, u"Cantarell payments 42", "Cantarell"},
        FaceCase{"CffNimbus", "Nimbus Sans", "fonts-urw-base35", 0, u"Nimbus Sans balance 17.25", "NimbusSans"},
        FaceCase{"Type1", "Nimbus Roman", "fonts-urw-base35", fsItalic, u"Roman italic 3.14", "NimbusRoman"},
        FaceCase{"Bitmap", "Terminus", "fonts-terminus-otb", 0, u"Terminus 0123", "", Style::Same, -32, 600},
        FaceCase{"SyntheticItalic", "Cantarell", "fonts-cantarell", fsItalic, u"Slanted Cantarell", "",
                 Style::Different},
        FaceCase{"SyntheticBold", "WenQuanYi Zen Hei", "fonts-wqy-zenhei", fsBold, u"Heavy \u4e2d\u6587 text", "",
                 Style::Heavier},
        FaceCase{"VariableBold", "Inter", "fonts-inter-variable", fsBold, u"Inter bold header", "", Style::Heavier},
        FaceCase{"Collection", "WenQuanYi Zen Hei", "fonts-wqy-zenhei", 0, u"\u00a5 \u5143 \u6587\u5b57", "WenQuanYi"},
        FaceCase{"RightToLeft", "DejaVu Sans", "fonts-dejavu-core", 0,
                 u"\u05e9\u05dc\u05d5\u05dd \u0645\u0631\u062d\u0628\u0627 42", "DejaVuSans"},
        FaceCase{"BeyondBmp", "Liberation Sans", "fonts-liberation", 0, u"x \U0001D400 y", ""},
        FaceCase{"LineSeparator", "Liberation Sans", "fonts-liberation", 0, u"Page 1\u2028of 2 continued",
                 "Liberation"}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
