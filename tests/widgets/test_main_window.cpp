// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The main window: layout at start-up and the edit boxes' keys and focus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QAbstractButton>
#include <QFrame>
#include <QImage>
#include <QScreen>
#include <cstdlib>
#include <algorithm>

#include "QVXFlashLabel.h"

#include "Application.h"
#include "Dialogs.h"
#include "MainWindowFixture.h"
#include "MainWindowTest.h"
#include "main.h"
#include "ParamNames.h"

namespace {

TEST_F(MainWindowTest, StartUpState) {
  EXPECT_EQ(form->windowTitle(), QStringLiteral(" Tallyvane v1.5a"));
  EXPECT_EQ(form->size(), QSize(605, 350));
  EXPECT_EQ(form->minimumSize(), form->maximumSize());
  EXPECT_EQ(form->GridRowCount(), 2);
  EXPECT_EQ(Row(0), QStringList({"   #", "      Payment", "      Principal", "      Interest", "      Balance"}));
  EXPECT_EQ(Row(1), QStringList({"", "", "", "", ""}));
  EXPECT_EQ(Labels(), kZeros);
  EXPECT_TRUE(form->rbtnMonthly->isChecked());
  EXPECT_FALSE(form->rbtnWeekly->isChecked());
  EXPECT_TRUE(form->txtAmount->text().isEmpty());
  EXPECT_TRUE(form->txtInterest->text().isEmpty());
  EXPECT_TRUE(form->txtPayments->text().isEmpty());
  EXPECT_EQ(QApplication::focusWidget(), form->txtAmount);

  // Column 0 (the fixed row-number column) is 30 wide; the others (385 - 40) / 4.
  EXPECT_EQ(form->grdAmort->width(), 385);
  EXPECT_EQ(form->grdAmort->verticalHeader()->width(), 30);
  for (int c = 0; c < 4; ++c) EXPECT_EQ(form->grdAmort->columnWidth(c), 86);
  EXPECT_EQ(form->grdAmort->verticalHeader()->defaultSectionSize(), 16);
  EXPECT_EQ(form->grdAmort->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(form->grdAmort->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(form->grdAmort->selectionMode(), QAbstractItemView::SingleSelection);

  EXPECT_EQ(form->flblCalculate->Caption(), QStringLiteral("Calculate"));
  EXPECT_EQ(form->flblCalculate->Hint(), QStringLiteral("Calculate table"));
  EXPECT_EQ(form->flblPrint->Hint(), QStringLiteral("Print table"));
  EXPECT_EQ(form->flblAbout->Hint(), QStringLiteral("About Tallyvane"));
  EXPECT_TRUE(form->flblHelp->Hint().isEmpty());
  EXPECT_EQ(form->flblExit->geometry(), QRect(412, 10, 41, 17));
  EXPECT_EQ(form->flblCalculate->FontHeight(), -13);
  EXPECT_EQ(form->flblCalculate->FontStyle(), int(fsBold));
  EXPECT_EQ(form->flblCalculate->HighlightColor(), clAqua);
  EXPECT_EQ(form->flblCalculate->NormalColor(), clWindowText);
  EXPECT_TRUE(form->flblCalculate->Transparent());
  EXPECT_EQ(form->GroupBox1->title(), QStringLiteral(" Loan Information "));
  EXPECT_EQ(form->font().pixelSize(), 11);
  EXPECT_TRUE(form->lblPayment->font().bold());
  EXPECT_EQ(form->lblPayment->alignment() & Qt::AlignRight, Qt::AlignRight);

  // A fixed dialog frame: a caption, but no system menu and no window buttons.
  const Qt::WindowFlags flags = form->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowTitleHint);
  EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
  EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  // Centred on the screen.
  const QRect area = form->screen()->availableGeometry();
  EXPECT_LE(std::abs(form->frameGeometry().center().x() - area.center().x()), 1);
  EXPECT_LE(std::abs(form->frameGeometry().center().y() - area.center().y()), 1);
  // The panels' frames: a lowered outer and a raised inner line, one pixel each.
  for (QFrame* panel : {form->Panel1, form->Panel2}) {
    EXPECT_EQ(panel->frameShape(), QFrame::Box);
    EXPECT_EQ(panel->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(panel->frameWidth(), 2);
  }
  EXPECT_FALSE(form->windowIcon().isNull());
}

struct PlaceCase {
  const char* name;
  const char* parent;
  QRect geometry;  // width and height -1: the control sizes itself to its caption
  const char* caption;
};

// Every control of the window where the layout puts it, with its caption.
TEST_F(MainWindowTest, ControlsSitWhereTheLayoutPutsThem) {
  const PlaceCase cases[] = {
      {"Panel1", "TMainForm", {0, 0, 605, 37}, nullptr},
      {"flblCalculate", "Panel1", {12, 10, 73, 17}, "Calculate"},
      {"flblPrint", "Panel1", {128, 10, 45, 17}, "Print"},
      {"flblHelp", "Panel1", {224, 10, 41, 17}, "Help"},
      {"flblAbout", "Panel1", {312, 10, 49, 17}, "About"},
      {"flblExit", "Panel1", {412, 10, 41, 17}, "Exit"},
      {"PgPrint", "Panel1", {496, 8, 17, 17}, nullptr},
      {"Image1", "Panel1", {560, 4, 29, 29}, nullptr},
      {"GroupBox1", "TMainForm", {0, 40, 201, 185}, " Loan Information "},
      {"Label1", "GroupBox1", {56, 28, -1, -1}, "Amount :"},
      {"Label2", "GroupBox1", {20, 60, -1, -1}, "Annual Interest :"},
      {"Label3", "GroupBox1", {16, 92, -1, -1}, "No. of Payments:"},
      {"txtAmount", "GroupBox1", {112, 24, 65, 21}, ""},
      {"txtInterest", "GroupBox1", {112, 56, 65, 21}, ""},
      {"txtPayments", "GroupBox1", {112, 88, 65, 21}, ""},
      {"GroupBox2", "GroupBox1", {12, 124, 177, 49}, " Payment Rate "},
      {"rbtnMonthly", "GroupBox2", {16, 20, 61, 13}, "Monthly"},
      {"rbtnWeekly", "GroupBox2", {100, 20, 61, 13}, "Weekly"},
      {"Panel2", "TMainForm", {204, 40, 401, 309}, nullptr},
      {"grdAmort", "Panel2", {8, 8, 385, 293}, nullptr},
      {"GroupBox3", "TMainForm", {0, 228, 201, 121}, " Summary "},
      {"Label4", "GroupBox3", {36, 20, -1, -1}, "Payments :"},
      {"lblPayment", "GroupBox3", {88, 20, 96, 13}, "0.00"},
      {"Bevel2", "GroupBox3", {12, 40, 177, 5}, nullptr},
      {"Label6", "GroupBox3", {19, 48, -1, -1}, "Total Interest :"},
      {"lblInterest", "GroupBox3", {88, 48, 96, 13}, "0.00"},
      {"Label7", "GroupBox3", {14, 68, -1, -1}, "Total Principal :"},
      {"lblPrincipal", "GroupBox3", {88, 68, 96, 13}, "0.00"},
      {"Bevel1", "GroupBox3", {12, 88, 177, 5}, nullptr},
      {"Label5", "GroupBox3", {58, 96, -1, -1}, "Total :"},
      {"lblTotalAmt", "GroupBox3", {88, 96, 96, 13}, "0.00"},
  };
  for (const PlaceCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto* w = form->findChild<QWidget*>(QString::fromLatin1(c.name));
    ASSERT_NE(w, nullptr);
    ASSERT_NE(w->parentWidget(), nullptr);
    EXPECT_EQ(w->parentWidget()->objectName(), QString::fromLatin1(c.parent));
    if (c.geometry.width() < 0) {
      EXPECT_EQ(w->pos(), c.geometry.topLeft());
    } else {
      EXPECT_EQ(w->geometry(), c.geometry);
    }
    if (!c.caption) continue;
    const QString caption = QString::fromUtf8(c.caption);
    if (auto* label = qobject_cast<QLabel*>(w)) {
      EXPECT_EQ(label->text(), caption);
      // A caption is never cut off.
      EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(caption));
    } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
      EXPECT_EQ(box->title(), caption);
    } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
      EXPECT_EQ(radio->text(), caption);
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      EXPECT_EQ(edit->text(), caption);
    } else if (auto* flash = qobject_cast<TQVXFlashLabel*>(w)) {
      EXPECT_EQ(flash->Caption(), caption);
    }
  }
  for (QLabel* value : {form->lblPayment, form->lblInterest, form->lblPrincipal, form->lblTotalAmt}) {
    EXPECT_EQ(value->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_TRUE(value->font().bold());
    EXPECT_EQ(value->font().pixelSize(), 11);
  }
}

// Darkest pixel of a rendered widget area, as a lightness 0..255.
int DarkestLightness(const QImage& image, const QRect& area) {
  int darkest = 255;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) darkest = std::min(darkest, image.pixelColor(x, y).lightness());
  return darkest;
}

TEST_F(MainWindowTest, BevelsDrawOneLineAlongTheirTopEdge) {
  for (QFrame* bevel : {form->Bevel1, form->Bevel2}) {
    const QImage image = bevel->grab().toImage();
    const QColor background = form->GroupBox3->palette().color(QPalette::Window);
    // The two top rows carry the line, the rest shows the background.
    EXPECT_NE(image.pixelColor(bevel->width() / 2, 0), background);
    for (int y = 2; y < bevel->height(); ++y) EXPECT_EQ(image.pixelColor(bevel->width() / 2, y), background) << y;
  }
}

// The corner cell is the heading of the row-number column; it is painted like
// the other headings, not in the greyed colour of a disabled button.
TEST_F(MainWindowTest, RowNumberHeadingIsDrawnLikeTheOtherHeadings) {
  auto* corner = form->grdAmort->findChild<QAbstractButton*>();
  ASSERT_NE(corner, nullptr);
  const QImage cornerImage = corner->grab().toImage();
  QHeaderView* columns = form->grdAmort->horizontalHeader();
  const QImage headingImage = columns->grab().toImage();
  // The text pixels: inside the cells, away from their borders.
  const int cornerText = DarkestLightness(cornerImage, cornerImage.rect().adjusted(3, 3, -3, -3));
  const int headingText =
      DarkestLightness(headingImage, QRect(3, 3, columns->sectionSize(0) - 6, columns->height() - 6));
  EXPECT_LT(cornerText, (headingText + 255) / 2);
}

TEST_F(MainWindowTest, TabOrderVisitsTheCheckedRadioButtonOnly) {
  auto next = [] {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return QApplication::focusWidget();
  };
  EXPECT_EQ(next(), form->txtInterest);
  EXPECT_EQ(next(), form->txtPayments);
  EXPECT_EQ(next(), form->rbtnMonthly);
  EXPECT_EQ(next(), form->grdAmort);
  EXPECT_EQ(next(), form->txtAmount);
  form->rbtnWeekly->setChecked(true);
  form->txtPayments->setFocus();
  EXPECT_EQ(next(), form->rbtnWeekly);
  EXPECT_EQ(next(), form->grdAmort);
}

TEST_F(MainWindowTest, EnterCyclesTheBoxesSelectingTheirTextAndIsSwallowed) {
  Enter("1000", "12", "12");
  form->txtAmount->setFocus();
  QSignalSpy returns(form->txtAmount, &QLineEdit::returnPressed);
  QTest::keyClick(form->txtAmount, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), form->txtInterest);
  EXPECT_TRUE(WholeTextSelected(form->txtInterest));
  QTest::keyClick(form->txtInterest, Qt::Key_Enter);
  EXPECT_EQ(QApplication::focusWidget(), form->txtPayments);
  EXPECT_TRUE(WholeTextSelected(form->txtPayments));
  QTest::keyClick(form->txtPayments, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), form->txtAmount);
  EXPECT_TRUE(WholeTextSelected(form->txtAmount));
  EXPECT_EQ(returns.count(), 0);
  EXPECT_EQ(form->txtAmount->text(), QStringLiteral("1000"));
  // The next key typed replaces the selected text.
  QTest::keyClicks(form->txtAmount, "5");
  EXPECT_EQ(form->txtAmount->text(), QStringLiteral("5"));
}

TEST_F(MainWindowTest, FocusByTabOrMouseSelectsTheWholeText) {
  Enter("1000", "12.5", "36");
  QTest::keyClick(form->txtAmount, Qt::Key_Tab);
  EXPECT_TRUE(WholeTextSelected(form->txtInterest));
  // A click places the caret where it lands; the box selects everything after it.
  QTest::mouseClick(form->txtPayments, Qt::LeftButton, {}, QPoint(5, 10));
  EXPECT_EQ(QApplication::focusWidget(), form->txtPayments);
  EXPECT_TRUE(WholeTextSelected(form->txtPayments));
  EXPECT_EQ(form->txtPayments->selectedText(), QStringLiteral("36"));
  // A second click inside the focused box is an ordinary click.
  QTest::mouseClick(form->txtPayments, Qt::LeftButton, {}, QPoint(5, 10));
  EXPECT_TRUE(form->txtPayments->selectedText().isEmpty());
}

// Coming back from another window (here a modal one) is no entry into the box:
// a caret placed by the user stays and the text is not selected.
TEST_F(MainWindowTest, ReturningFromAnotherWindowKeepsTheCaret) {
  QDialog help;
  form->SetCompanionWindows(nullptr, &help);
  Enter("1000", "12", "12");
  form->txtInterest->setFocus();
  form->txtInterest->setCursorPosition(1);
  ASSERT_FALSE(form->txtInterest->hasSelectedText());
  bool sawModal = false;
  QTimer::singleShot(0, [&] {
    sawModal = QApplication::activeModalWidget() == &help;
    help.accept();
  });
  Click(form->flblHelp);
  ASSERT_TRUE(sawModal);
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  EXPECT_EQ(QApplication::focusWidget(), form->txtInterest);
  EXPECT_FALSE(form->txtInterest->hasSelectedText());
  EXPECT_EQ(form->txtInterest->cursorPosition(), 1);
  // Another box entered by the user still selects its text.
  QTest::keyClick(form->txtInterest, Qt::Key_Tab);
  EXPECT_TRUE(WholeTextSelected(form->txtPayments));
}

// The failing box gets its whole text selected even when it already had the focus.
TEST_F(MainWindowTest, FailingBoxThatHadTheFocusIsSelectedToo) {
  Enter("12x4", "12", "12");
  form->txtAmount->setFocus();
  form->txtAmount->setCursorPosition(2);
  ASSERT_FALSE(form->txtAmount->hasSelectedText());
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({"   Invalid loan amount. Please try again.   "}));
  EXPECT_EQ(QApplication::focusWidget(), form->txtAmount);
  EXPECT_EQ(form->txtAmount->selectedText(), QStringLiteral("12x4"));
}

}  // namespace
