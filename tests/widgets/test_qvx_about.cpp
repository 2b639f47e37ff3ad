// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The hover label's About property editor and its dialog.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

#include "QVXAbout.h"
#include "QVXFlashLabel.h"
#include "WindowHelpers.h"

namespace {

// Left that centres a width over a control, dividing toward zero.
int ExpectedLeft(const QWidget* over, int width) {
  return over->x() + static_cast<int>(std::trunc((over->width() - width) / 2.0));
}

TEST(AboutProperty, ValueTextAndAttributes) {
  TAboutProperty property;
  EXPECT_EQ(property.GetValue(), QStringLiteral("(about)"));
  EXPECT_EQ(property.GetAttributes(), TPropertyAttributes(paDialog | paMultiSelect | paReadOnly));
  EXPECT_FALSE(property.GetAttributes().testFlag(paValueList));
}

TEST(AboutDialog, StoredLayout) {
  TfrmQVXAbout form;
  EXPECT_EQ(form.size(), QSize(315, 208));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("About $component$ v$version$"));
  EXPECT_EQ(form.font().family(), QStringLiteral("MS Sans Serif"));
  EXPECT_EQ(form.font().pixelSize(), 11);
  EXPECT_EQ(form.imgLogo->geometry(), QRect(16, 16, 32, 32));
  EXPECT_EQ(form.imgLogo->pixmap().size(), QSize(32, 32));
  EXPECT_EQ(form.bvlSepBar->geometry(), QRect(64, 168, 237, 2));
  EXPECT_EQ(form.cmdOK->geometry(), QRect(224, 176, 75, 25));
  EXPECT_EQ(form.cmdOK->text(), QStringLiteral("OK"));
  EXPECT_TRUE(form.cmdOK->isDefault());
  EXPECT_EQ(form.lblComponent->text(), QStringLiteral("$Component Name$"));
  EXPECT_EQ(form.lblVersion->text(), QStringLiteral("v$version$"));
  EXPECT_EQ(form.lblAuthor->text(), QStringLiteral("by $author$"));
  // Lefts and tops as stored; the labels size themselves to their text.
  EXPECT_EQ(form.lblComponent->pos(), QPoint(67, 16));
  EXPECT_EQ(form.lblVersion->pos(), QPoint(136, 56));
  EXPECT_EQ(form.lblAuthor->pos(), QPoint(148, 104));
  EXPECT_EQ(form.lblCopyright->pos(), QPoint(94, 144));
  EXPECT_EQ(form.lblVersion->size(), form.lblVersion->sizeHint());
  const Qt::WindowFlags flags = form.windowFlags();
  EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
}

struct FontCase {
  const char* name;
  int pixels;
  bool bold;
};

class AboutDialogFonts : public ::testing::TestWithParam<FontCase> {};

TEST_P(AboutDialogFonts, LabelsUseTheirArialHeights) {
  TfrmQVXAbout form;
  const auto* label = form.findChild<QLabel*>(QString::fromLatin1(GetParam().name));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->font().family(), QStringLiteral("Arial"));
  EXPECT_EQ(label->font().pixelSize(), GetParam().pixels);
  EXPECT_EQ(label->font().bold(), GetParam().bold);
  EXPECT_FALSE(label->autoFillBackground());  // transparent
}

INSTANTIATE_TEST_SUITE_P(All, AboutDialogFonts,
                         ::testing::Values(FontCase{"lblComponent", 24, true}, FontCase{"lblVersion", 19, false},
                                           FontCase{"lblAuthor", 13, false}, FontCase{"lblCopyright", 11, false}),
                         [](const auto& p) { return std::string(p.param.name); });

void ExpectCentred(const TfrmQVXAbout& form) {
  const QLabel* component = form.lblComponent;
  EXPECT_EQ(component->size(), component->sizeHint());
  EXPECT_EQ(component->x(), ExpectedLeft(form.bvlSepBar, component->width()));
  EXPECT_EQ(component->y(),
            form.imgLogo->y() + static_cast<int>(std::trunc((form.imgLogo->height() - component->height()) / 2.0)));
  for (const QLabel* label : {form.lblVersion, form.lblAuthor, form.lblCopyright}) {
    EXPECT_EQ(label->size(), label->sizeHint()) << label->objectName().toStdString();
    EXPECT_EQ(label->x(), ExpectedLeft(component, label->width())) << label->objectName().toStdString();
  }
  // Tops of the lower labels stay where the form put them.
  EXPECT_EQ(form.lblVersion->y(), 56);
  EXPECT_EQ(form.lblAuthor->y(), 104);
  EXPECT_EQ(form.lblCopyright->y(), 144);
}

TEST(AboutDialog, SetAboutInfoWithTheEditorsValues) {
  TfrmQVXAbout form;
  SetAboutInfo(&form, QStringLiteral("TQVXFlashLabel"), QStringLiteral("1.2.1"), QStringLiteral("Copyright line"),
               QStringLiteral("Someone"));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("About TQVXFlashLabel v1.2.1"));
  EXPECT_EQ(form.lblComponent->text(), QStringLiteral("TQVXFlashLabel"));
  EXPECT_EQ(form.lblVersion->text(), QStringLiteral("v1.2.1"));
  EXPECT_EQ(form.lblAuthor->text(), QStringLiteral("by Someone"));
  EXPECT_EQ(form.lblCopyright->text(), QStringLiteral("Copyright line"));
  EXPECT_LT(form.lblComponent->width(), form.bvlSepBar->width());
  EXPECT_GT(form.lblComponent->x(), form.bvlSepBar->x());
  ExpectCentred(form);
}

TEST(AboutDialog, NameWiderThanTheSeparatorStillCentres) {
  TfrmQVXAbout form;
  SetAboutInfo(&form, QStringLiteral("TQVXFlashLabelWithARatherLongName"), QStringLiteral("10.20.30"),
               QStringLiteral("Copyright"), QStringLiteral("A"));
  EXPECT_GT(form.lblComponent->width(), form.bvlSepBar->width());
  EXPECT_LT(form.lblComponent->x(), form.bvlSepBar->x());
  ExpectCentred(form);
}

TEST(AboutDialog, OkClosesTheDialog) {
  TfrmQVXAbout form;
  form.show();
  ASSERT_TRUE(form.isVisible());
  QTest::mouseClick(form.cmdOK, Qt::LeftButton);
  EXPECT_FALSE(form.isVisible());
}

TEST(AboutProperty, EditShowsTheDialogModallyAndFreesIt) {
  QString title;
  QString version;
  bool sawModal = false;
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* form = qobject_cast<TfrmQVXAbout*>(modal)) {
      sawModal = true;
      title = form->windowTitle();
      version = form->lblVersion->text();
      QTest::mouseClick(form->cmdOK, Qt::LeftButton);
    } else if (modal) {
      modal->close();
    }
  });
  TAboutProperty property;
  property.Edit();
  EXPECT_TRUE(sawModal);
  EXPECT_EQ(title, QStringLiteral("About TQVXFlashLabel v1.2.1"));
  EXPECT_EQ(version, QStringLiteral("v1.2.1"));
  QCoreApplication::processEvents();
  int remaining = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) remaining += qobject_cast<TfrmQVXAbout*>(w) != nullptr;
  EXPECT_EQ(remaining, 0);
}

TEST(AboutProperty, LabelCarriesNoEditorAtRunTime) {
  TQVXFlashLabel label;
  EXPECT_EQ(label.About(), nullptr);
}

// ---- window helpers shared with the program's own windows ------------------------

TEST(WindowHelpers, PointFontsBecomeTheirPixelHeightsAtNinetySixDpi) {
  QWidget form;
  form.setFont(QFont(QStringLiteral("Arial"), 8));  // 8 pt is 10.67 px: rounded to 11
  auto* pixels = new QLabel(&form);
  QFont pixelFont(QStringLiteral("Arial"));
  pixelFont.setPixelSize(19);
  pixels->setFont(pixelFont);
  auto* inherited = new QLabel(&form);
  auto* bold = new QLabel(&form);
  bold->setFont(QFont(QStringLiteral("Arial"), 18, QFont::Bold));
  UseFormPixelFonts(&form);
  EXPECT_EQ(form.font().pixelSize(), 11);
  EXPECT_EQ(pixels->font().pixelSize(), 19);
  EXPECT_EQ(inherited->font().pixelSize(), 11);  // follows the form's font
  EXPECT_FALSE(inherited->testAttribute(Qt::WA_SetFont));
  EXPECT_EQ(bold->font().pixelSize(), 24);
  EXPECT_TRUE(bold->font().bold());
}

TEST(WindowHelpers, CentreOnScreenUsesThePrimaryWorkArea) {
  QWidget window;
  window.resize(301, 157);
  CentreOnScreen(&window);
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(window.pos(), QPoint(area.x() + (area.width() - 301) / 2, area.y() + (area.height() - 157) / 2));
}

}  // namespace
