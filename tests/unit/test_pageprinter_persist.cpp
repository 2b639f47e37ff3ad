// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Stored descriptions of the page printer: what is written, in which order, and
// that reading them back through the setters in the loading state restores the
// component; plus a Qt Designer form that sets the main window's values.
#include <gtest/gtest.h>

#include <QMetaProperty>
#include <QWidget>
#include <memory>
#include <string>

#include "FormLoading.h"
#include "PagePrinterFixtures.h"
#include "PagePrnt.h"
#include "PagePrntPersist.h"
#include "ui_PagePrinterTestForm.h"
#include "WarningCollector.h"

namespace {

class Persistence : public ::testing::Test {
 protected:
  TestPrinterInstall<> scope{TTestPrinter::Setup{}};  // 600 dpi Letter, 0.1-inch offsets
};

const char* const kPublished[] = {
    "MeasureUnit",    "AbortOnCancel",      "Alignment",       "AutoFooterFont", "AutoHeaderFont", "Collate",
    "Copies",         "DefaultColWidth",    "FileName",        "Footer",         "FooterFormat",   "FriendlyFooter",
    "FriendlyHeader", "GradientBackground", "Header",          "HeaderFormat",   "Lines",          "LineSpacing",
    "MarginBottom",   "MarginLeft",         "MarginRight",     "MarginTop",      "Orientation",    "PageBorderOffset",
    "PageBorders",    "PrintToFile",        "ProgressMessage", "ShadowColor",    "ShadowOffset",   "ShowCancel",
    "ShowMargins",    "ShowProgress",       "TableFormat",     "TableGrid",      "TabSize",        "Title",
    "TokenSeparator", "WordWrap",           "ZoomLocation",    "ZoomPercent",    "Color",          "BodyFontText",
    "HeaderFontText", "FooterFontText"};

void ExpectSameProperties(TPagePrinter& a, TPagePrinter& b) {
  for (const char* name : kPublished) EXPECT_EQ(a.property(name), b.property(name)) << name;
}

QStringList NamesIn(const QString& description) {
  QStringList names;
  for (const QString& line : description.split('\n', Qt::SkipEmptyParts))
    names.append(line.section('=', 0, 0).trimmed());
  return names;
}

TEST_F(Persistence, AFreshComponentWritesOnlyItsMargins) {
  TPagePrinter pp;
  EXPECT_EQ(WritePagePrinterDescription(pp),
            "MarginBottom = 0.1\n"
            "MarginLeft = 0.1\n"
            "MarginRight = 0.1\n"
            "MarginTop = 0.1\n");
}

TEST_F(Persistence, RoundTripOfEveryKindOfProperty) {
  TPagePrinter source;
  source.SetMeasureUnit(muMillimeters);
  source.SetAbortOnCancel(true);
  source.SetAlignment(taCenter);
  source.SetAutoFooterFont(false);
  source.SetCollate(false);
  source.SetCopies(3);
  source.SetDefaultColWidth(12.5);
  source.SetFileName("out put.txt");
  source.SetFooter("Page - {$PAGE}");
  source.SetFooterFontText("Arial,-11,italic+underline,clNavy");
  source.SetFooterFormat(">127");
  source.SetGradientBackground(false);
  source.SetHeader("quote \" backslash \\ tab \t end");
  source.SetHeaderFormat("^101.6|>50.8");
  const QStringList lines{"first", "", "with, comma and \"quotes\"", "line\nbreak"};
  source.SetLines(&lines);
  source.SetLineSpacing(lsDoubleSpace);
  source.SetMarginBottom(20);
  source.SetMarginLeft(12.7);
  source.SetMarginRight(25.4);
  source.SetMarginTop(15.25);
  source.SetOrientation(poLandscape);
  source.SetPageBorderOffset(3.5);
  source.SetPageBorders(BorderBit(pbTop) | BorderBit(pbRight));
  source.SetPrintToFile(true);
  source.SetProgressMessage("Printing page {$PAGE}");
  source.SetShadowColor(0x00123456);
  source.SetShadowOffset(9);
  source.SetShowCancel(false);
  source.SetShowMargins(false);
  source.SetShowProgress(false);
  source.SetTableFormat(">38.1|<-10|^0.5");
  source.SetTableGrid(true);
  source.SetTabSize(4);
  source.SetTitle("Amortization Schedule");
  source.SetWordWrap(false);
  source.SetZoomLocation(zlCenter);
  source.SetZoomPercent(50);
  source.SetColor(clWhite);
  source.Font().SetStyle(fsBold);
  source.Font().SetHeight(-16);
  source.setHidden(true);
  const QString written = WritePagePrinterDescription(source);
  EXPECT_TRUE(written.startsWith("MeasureUnit = muMillimeters\n")) << written.toStdString();

  // The printer keeps Title and Orientation: reset them so the read has to restore them.
  scope.printer().SetTitle("");
  scope.printer().SetOrientation(poPortrait);
  TPagePrinter target;
  ReadPagePrinterDescription(target, written);
  EXPECT_FALSE(target.Loading());
  ExpectSameProperties(source, target);
  EXPECT_EQ(target.MarginLeft(), 12.7);
  EXPECT_EQ(target.LinesValue(), lines);
  EXPECT_TRUE(target.isHidden());
  EXPECT_TRUE(written.contains("\nVisible = False\n")) << written.toStdString();
  EXPECT_TRUE(target.Font().SameAs(source.Font()));
  EXPECT_TRUE(target.FooterFont().SameAs(source.FooterFont()));
  EXPECT_EQ(WritePagePrinterDescription(target), written);
}

TEST_F(Persistence, TheUnitIsWrittenAndReadBeforeTheMargins) {
  TPagePrinter pp;
  ReadPagePrinterDescription(pp,
                             "MeasureUnit = muMillimeters\n"
                             "MarginBottom = 12.7\n"
                             "MarginLeft = 12.7\n"
                             "MarginRight = 12.7\n"
                             "MarginTop = 12.7\n");
  EXPECT_EQ(pp.MeasureUnit(), muMillimeters);
  EXPECT_EQ(pp.MarginTop(), 12.7);
  EXPECT_EQ(pp.MarginBottom(), 12.7);
  EXPECT_EQ(pp.MarginLeft(), 12.7);
  EXPECT_EQ(pp.MarginRight(), 12.7);
  const QStringList names = NamesIn(WritePagePrinterDescription(pp));
  ASSERT_FALSE(names.isEmpty());
  EXPECT_EQ(names.first(), "MeasureUnit");
}

// The writer and the declared properties must agree on the published order: a
// description sets the unit first and each font next to its text and format.
TEST_F(Persistence, WrittenOrderIsTheDeclaredPropertyOrder) {
  TPagePrinter pp;
  pp.SetMeasureUnit(muMillimeters);
  pp.SetAbortOnCancel(true);
  pp.SetAlignment(taRightJustify);
  pp.SetAutoFooterFont(false);
  pp.SetAutoHeaderFont(false);
  pp.SetCollate(false);
  pp.SetCopies(2);
  pp.SetDefaultColWidth(5);
  pp.SetFileName("f.txt");
  pp.SetFooter("F");
  pp.SetFooterFormat(">10");
  pp.SetGradientBackground(false);
  pp.SetHeader("H");
  pp.SetHeaderFormat("<10");
  const QStringList lines{"x"};
  pp.SetLines(&lines);
  pp.SetLineSpacing(lsHalfSpace);
  pp.SetOrientation(poLandscape);
  pp.SetPageBorderOffset(1);
  pp.SetPageBorders(BorderBit(pbLeft));
  pp.SetPrintToFile(true);
  pp.SetProgressMessage("m");
  pp.SetShadowColor(clRed);
  pp.SetShadowOffset(1);
  pp.SetShowCancel(false);
  pp.SetShowMargins(false);
  pp.SetShowProgress(false);
  pp.SetTableFormat("<10");
  pp.SetTableGrid(true);
  pp.SetTabSize(2);
  pp.SetTitle("T");
  pp.SetWordWrap(false);
  pp.SetZoomLocation(zlCenter);
  pp.SetZoomPercent(30);
  pp.SetColor(clWhite);
  pp.Font().SetSize(12);
  pp.SetTokenSeparator(';');
  const QStringList plain = NamesIn(WritePagePrinterDescription(pp));
  // With friendly texts the header and footer cells and formats are not written.
  pp.SetFriendlyFooter("&rF");
  pp.SetFriendlyHeader("&lH");
  const QStringList friendly = NamesIn(WritePagePrinterDescription(pp));

  const QMetaObject& meta = TPagePrinter::staticMetaObject;
  QStringList declared;
  for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) declared << meta.property(i).name();
  ASSERT_FALSE(declared.isEmpty());
  EXPECT_EQ(declared.first(), "MeasureUnit");

  QStringList seen;
  for (const QStringList& written : {plain, friendly}) {
    int previous = -1;
    for (const QString& name : written) {
      if (name == "Visible") continue;  // inherited, not declared here
      QString property = name;
      if (name == "Font")
        property = "BodyFontText";
      else if (name == "HeaderFont" || name == "FooterFont")
        property = name + "Text";
      const int index = int(declared.indexOf(property));
      ASSERT_GE(index, 0) << name.toStdString();
      EXPECT_GT(index, previous) << name.toStdString() << " written out of the declared order";
      previous = index;
      if (!seen.contains(property)) seen << property;
    }
  }
  EXPECT_EQ(seen.size(), declared.size()) << "every declared property is written when it is not a default";
}

TEST_F(Persistence, OnlyValuesThatDifferFromTheDefaultsAreWritten) {
  TPagePrinter pp;
  pp.SetCopies(1);
  pp.SetTabSize(8);
  pp.SetTokenSeparator('|');
  pp.SetTitle("");
  pp.SetTableFormat("");
  pp.SetPageBorderOffset(0);
  pp.SetAutoHeaderFont(true);
  pp.SetTokenSeparator(';');
  pp.SetTabSize(2);
  EXPECT_EQ(NamesIn(WritePagePrinterDescription(pp)),
            (QStringList{"MarginBottom", "MarginLeft", "MarginRight", "MarginTop", "TabSize", "TokenSeparator"}));
}

TEST_F(Persistence, HeaderAndFormatAreNotWrittenWhileAFriendlyHeaderIsSet) {
  TPagePrinter pp;
  pp.SetHeader("left|right");
  pp.SetHeaderFormat("<3|>3");
  pp.SetFooter("foot");
  pp.SetFooterFormat(">5");
  QStringList names = NamesIn(WritePagePrinterDescription(pp));
  EXPECT_TRUE(names.contains("Header"));
  EXPECT_TRUE(names.contains("HeaderFormat"));

  pp.SetFriendlyHeader("{$TITLE}");
  const QString header = pp.Header();
  const QString headerFormat = pp.HeaderFormat();
  const QString written = WritePagePrinterDescription(pp);
  names = NamesIn(written);
  EXPECT_FALSE(names.contains("Header"));
  EXPECT_FALSE(names.contains("HeaderFormat"));
  EXPECT_TRUE(names.contains("FriendlyHeader"));
  EXPECT_TRUE(names.contains("Footer"));
  EXPECT_TRUE(names.contains("FooterFormat"));

  // Reading it back rebuilds the header from the friendly text after loading.
  TPagePrinter target;
  ReadPagePrinterDescription(target, written);
  EXPECT_EQ(target.Header(), header);
  EXPECT_EQ(target.HeaderFormat(), headerFormat);
}

TEST_F(Persistence, FontsAreWrittenOnlyWhenNotFollowingTheBodyFont) {
  TPagePrinter pp;
  QStringList names = NamesIn(WritePagePrinterDescription(pp));
  EXPECT_FALSE(names.contains("HeaderFont"));
  EXPECT_FALSE(names.contains("FooterFont"));
  EXPECT_FALSE(names.contains("Font"));
  pp.SetAutoHeaderFont(false);
  names = NamesIn(WritePagePrinterDescription(pp));
  EXPECT_TRUE(names.contains("HeaderFont"));
  EXPECT_FALSE(names.contains("FooterFont"));
  pp.Font().SetName("Arial");
  names = NamesIn(WritePagePrinterDescription(pp));
  EXPECT_TRUE(names.contains("Font"));
}

TEST_F(Persistence, ColumnFormatsAreStoredWithTheDecimalPointWhateverTheLocale) {
  TPagePrinter source;
  QString written;
  {
    FormatSettingsScope comma(FormatSettingsScope::DecimalComma());
    source.SetTableFormat(">1,5|^2,25");
    ASSERT_EQ(source.TableFormat(), ">1,5|^2,25");
    written = WritePagePrinterDescription(source);
    EXPECT_TRUE(written.contains("TableFormat = \">1.5|^2.25\"")) << written.toStdString();

    // Read under the same comma locale: the stored point form is understood.
    TPagePrinter target;
    ReadPagePrinterDescription(target, written);
    EXPECT_EQ(target.TableFormat(), ">1,5|^2,25");
  }
  TPagePrinter pointTarget;
  ReadPagePrinterDescription(pointTarget, written);
  EXPECT_EQ(pointTarget.TableFormat(), ">1.5|^2.25");
}

struct MalformedCase {
  const char* name;
  const char* description;
  const char* message;
};

TEST_F(Persistence, MalformedDescriptionsRaiseReadErrors) {
  const MalformedCase cases[] = {
      {"unknown property", "Copies = 2\nBogus = 1\n", "Line 2: Property Bogus does not exist"},
      {"no equals sign", "Copies 2\n", "Line 1: '=' expected"},
      {"bad boolean", "Collate = maybe\n", "Line 1: Invalid property value for Collate"},
      {"bad enumeration", "MeasureUnit = muFeet\n", "Line 1: Invalid property value for MeasureUnit"},
      {"unterminated string", "Title = \"abc\n", "Line 1: Invalid property value for Title"},
      {"bad font", "Font = \"Arial\"\n", "Line 1: Invalid property value for Font"},
      {"bad double", "MarginTop = 1,5\n", "Line 1: Invalid property value for MarginTop"},
      {"separator of two characters", "TokenSeparator = \";;\"\n", "Line 1: Invalid property value for TokenSeparator"},
      {"unknown border", "PageBorders = [pbTop, pbMiddle]\n", "Line 1: Invalid property value for PageBorders"},
  };
  for (const MalformedCase& c : cases) {
    TPagePrinter pp;
    QString message = "<no exception>";
    try {
      ReadPagePrinterDescription(pp, c.description);
    } catch (const EReadError& e) {
      message = e.Message();
    } catch (const Exception& e) {
      message = "other exception: " + e.Message();
    }
    EXPECT_EQ(message, c.message) << c.name;
    EXPECT_FALSE(pp.Loading()) << c.name;
  }
}

TEST_F(Persistence, CommentsAndBlankLinesAreIgnored) {
  TPagePrinter pp;
  ReadPagePrinterDescription(pp, "# stored by hand\n\n  Copies = 4  \r\nPageBorders = []\n");
  EXPECT_EQ(pp.Copies(), 4u);
  EXPECT_EQ(pp.PageBorders(), 0);
}

struct FontTextCase {
  const char* name;
  const char* text;
  bool ok;
  const char* readBack;
};

TEST(FontText, ParsesAndFormatsFontDescriptions) {
  const FontTextCase cases[] = {
      {"name and height", "Courier New,-13", true, "Courier New,-13,regular,clWindowText"},
      {"bold", "Courier New,-13,bold", true, "Courier New,-13,bold,clWindowText"},
      {"several styles", "Arial,-11,Italic+underline+strikeout", true,
       "Arial,-11,italic+underline+strikeout,clWindowText"},
      {"colour by number", "Arial,-11,regular,0x000000FF", true, "Arial,-11,regular,clRed"},
      {"other colour", "Arial,-11,regular,0x00123456", true, "Arial,-11,regular,0x00123456"},
      {"points", "Arial,10pt", true, "Arial,-13,regular,clWindowText"},
      {"no height", "Arial", false, ""},
      {"empty name", ",-13", false, ""},
      {"bad height", "Arial,tall", false, ""},
      {"zero height", "Arial,0", false, ""},
      {"bad style", "Arial,-13,heavy", false, ""},
      {"standard colour by name", "Arial,-13,bold,clPurple", true, "Arial,-13,bold,clPurple"},
      {"unknown colour name", "Arial,-13,bold,clPlum", false, ""},
      {"too many fields", "Arial,-13,bold,clRed,extra", false, ""},
  };
  for (const FontTextCase& c : cases) {
    TFont font;  // 96 pixels per inch on the offscreen screen
    font.SetName("Before");
    const bool ok = TextToFont(c.text, font);
    EXPECT_EQ(ok, c.ok) << c.name;
    if (ok)
      EXPECT_EQ(FontToText(font), c.readBack) << c.name;
    else
      EXPECT_EQ(font.Name(), "Before") << c.name << ": a failed parse leaves the font alone";
  }
}

TEST_F(Persistence, FontPropertiesRefuseMalformedText) {
  TPagePrinter pp;
  EXPECT_THROW(pp.SetHeaderFontText("Arial"), EConvertError);
  EXPECT_EQ(pp.HeaderFont().Name(), "Courier New");
}

TEST_F(Persistence, EnumerationsCanBeSetByOrdinalOrName) {
  TPagePrinter pp;
  EXPECT_TRUE(pp.setProperty("LineSpacing", QVariant(3)));
  EXPECT_EQ(pp.LineSpacing(), lsDoubleSpace);
  EXPECT_TRUE(pp.setProperty("MeasureUnit", QVariant(QString("muMillimeters"))));
  EXPECT_EQ(pp.MeasureUnit(), muMillimeters);
  EXPECT_TRUE(pp.setProperty("TokenSeparator", QVariant(QChar(';'))));
  EXPECT_EQ(pp.TokenSeparator(), QChar(';'));
  EXPECT_TRUE(pp.setProperty("Copies", QVariant(0)));
  EXPECT_EQ(pp.Copies(), 1u);
}

// Writes through Qt's property system that the setters refuse: no exception
// reaches Qt, the value stays, and one warning names the component, the
// property and the reason.
struct RefusedWrite {
  const char* name;
  const char* property;
  QVariant value;
  bool printing;  // refused only while a document is open
  const char* reason;
};

class RefusedPropertyWrite : public Persistence, public ::testing::WithParamInterface<RefusedWrite> {};

TEST_P(RefusedPropertyWrite, LeavesTheValueAndWarnsOnce) {
  const RefusedWrite& c = GetParam();
  TPagePrinter pp;
  pp.setObjectName("PgPrint");
  if (c.printing) pp.BeginDoc();
  const QVariant before = pp.property(c.property);
  WarningCollector collector;
  bool written = false;
  EXPECT_NO_THROW(written = pp.setProperty(c.property, c.value));
  EXPECT_TRUE(written);
  EXPECT_EQ(pp.property(c.property), before);
  ASSERT_EQ(collector.Warnings().size(), 1) << collector.Warnings().join('\n').toStdString();
  const QString warning = collector.Warnings().first();
  EXPECT_TRUE(warning.startsWith(QStringLiteral("TPagePrinter \"PgPrint\": property %1").arg(c.property)))
      << warning.toStdString();
  EXPECT_TRUE(warning.endsWith(QString::fromUtf8(c.reason))) << warning.toStdString();
  if (c.printing) pp.EndDoc();
}

INSTANTIATE_TEST_SUITE_P(
    Setters, RefusedPropertyWrite,
    ::testing::Values(RefusedWrite{"HeaderFontWithoutHeight", "HeaderFontText", QVariant(QString("Courier New")), false,
                                   "'Courier New' is not a valid font description"},
                      RefusedWrite{"BodyFontOfHeightZero", "BodyFontText", QVariant(QString("Arial,0")), false,
                                   "'Arial,0' is not a valid font description"},
                      RefusedWrite{"FooterFontOfUnknownStyle", "FooterFontText", QVariant(QString("Arial,10,boldish")),
                                   false, "'Arial,10,boldish' is not a valid font description"},
                      RefusedWrite{"MarginWhilePrinting", "MarginTop", QVariant(2.0), true,
                                   "Unable to change top margin while printing"},
                      RefusedWrite{"UnitWhilePrinting", "MeasureUnit", QVariant(1), true,
                                   "Unable to change top margin while printing"},
                      RefusedWrite{"OrientationWhilePrinting", "Orientation", QVariant(1), true,
                                   "Unable to change orientation while printing"},
                      RefusedWrite{"FileNameWhilePrinting", "FileName", QVariant(QString("other.txt")), true,
                                   "Can't change FileName while printing"}),
    [](const auto& p) { return std::string(p.param.name); });

// The main window's page printer settings, set by a Designer form through uic's setProperty calls.
TEST_F(Persistence, DesignerFormSetsTheMainWindowSettings) {
  QWidget form;
  Ui::PagePrinterTestForm ui;
  {
    FormLoading loading;
    ui.setupUi(&form);
    EXPECT_TRUE(ui.PgPrint->Loading());
    loading.Finish();
  }
  TPagePrinter& pp = *ui.PgPrint;
  EXPECT_FALSE(pp.Loading());
  EXPECT_TRUE(pp.isHidden());
  EXPECT_EQ(pp.Title(), "Amortization Schedule");
  EXPECT_EQ(pp.Header(), "{$TITLE}|{$DATE}");
  EXPECT_EQ(pp.HeaderFormat(), "^4|>2");
  EXPECT_EQ(pp.Footer(), "Page - {$PAGE}");
  EXPECT_EQ(pp.FooterFormat(), ">5");
  EXPECT_EQ(pp.TableFormat(), ">1.5|>1.5|>1.5|>1.5|>1.5");
  EXPECT_DOUBLE_EQ(pp.MarginTop(), 0.5);
  EXPECT_DOUBLE_EQ(pp.MarginLeft(), 0.5);
  EXPECT_FALSE(pp.ShowMargins());
  EXPECT_FALSE(pp.AutoHeaderFont());
  EXPECT_FALSE(pp.AutoFooterFont());
  EXPECT_EQ(FontToText(pp.Font()), "Courier New,-13,regular,clWindowText");
  EXPECT_EQ(FontToText(pp.HeaderFont()), "Courier New,-13,bold,clWindowText");
  EXPECT_EQ(FontToText(pp.FooterFont()), "Courier New,-11,italic,clWindowText");
  EXPECT_EQ(pp.LeftMarginPixels(), 240);
  EXPECT_EQ(pp.LineHeight(), 83);
}

}  // namespace
