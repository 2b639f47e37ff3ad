// The main window: layout at start-up, the edit boxes' keys and focus, the
// input check, Calculate with its results and failures, Help, About and Exit.
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
#include "main.h"
#include "ParamNames.h"

namespace {

class MainWindowTest : public MainWindowFixture<> {
 protected:
  // The keyboard tests need the form to hold the focus.
  MainWindowTest() : MainWindowFixture(true) {}

  void Calculate() { Click(form->flblCalculate); }
  QStringList Labels() const {
    return {form->lblPayment->text(), form->lblInterest->text(), form->lblPrincipal->text(), form->lblTotalAmt->text()};
  }
  QStringList Row(int row) const {
    QStringList cells;
    for (int c = 0; c < 5; ++c) cells << form->GridCell(c, row);
    return cells;
  }
  bool WholeTextSelected(QLineEdit* box) const {
    if (box->text().isEmpty()) return true;
    return box->selectionStart() == 0 && box->selectedText() == box->text();
  }
};

const QStringList kZeros = {"0.00", "0.00", "0.00", "0.00"};

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
  const int headingText = DarkestLightness(headingImage, QRect(3, 3, columns->sectionSize(0) - 6, columns->height() - 6));
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

TEST_F(MainWindowTest, WorkedExampleFillsTheTableAndTheSummary) {
  Enter("1000", "12", "12");
  Calculate();
  EXPECT_TRUE(dialogs->Events().empty());
  EXPECT_EQ(CalculationState().PaymentAmount.count, 888488);
  EXPECT_EQ(CalculationState().PeriodRate, 0.01f);
  EXPECT_EQ(form->GridRowCount(), 13);
  EXPECT_EQ(Labels(), QStringList({"$88.85", "$65.36", "$1,000.00", "$1,065.36"}));
  EXPECT_EQ(Row(1), QStringList({" 1", "$88.85", "$78.84", "$10.01", "$921.16"}));
  EXPECT_EQ(Row(11), QStringList({" 11", "$88.85", "$87.09", "$1.76", "$88.03"}));
  EXPECT_EQ(Row(12), QStringList({" 12", "$88.03", "$88.03", "$0.00", " $0.00"}));
  // What the view shows is the same text, right-aligned money, row numbers in the fixed column.
  auto* m = form->grdAmort->model();
  EXPECT_EQ(m->data(m->index(0, 0)).toString(), QStringLiteral("$88.85"));
  EXPECT_EQ(m->data(m->index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight, Qt::AlignRight);
  EXPECT_EQ(m->headerData(11, Qt::Vertical).toString(), QStringLiteral(" 12"));
  EXPECT_EQ(m->headerData(3, Qt::Horizontal).toString(), QStringLiteral("      Balance"));
}

TEST_F(MainWindowTest, BoxesKeepTextsLongerThanQtsDefaultLimit) {
  const QString blanks(40000, u' ');
  Enter(blanks + "1000", blanks + "12", blanks + "12");
  for (QLineEdit* box : {form->txtAmount, form->txtInterest, form->txtPayments}) {
    EXPECT_EQ(box->text().size(), 40000 + box->text().trimmed().size()) << box->objectName().toStdString();
    // Pasting and typing insert at the caret without a limit either.
    box->home(false);
    box->insert(blanks);
    EXPECT_EQ(box->text().size(), 80000 + box->text().trimmed().size()) << box->objectName().toStdString();
  }
  Calculate();
  EXPECT_TRUE(dialogs->Events().empty());
  EXPECT_EQ(CalculationState().LoanAmount.count, 10000000);
  EXPECT_EQ(CalculationState().PaymentAmount.count, 888488);
}

TEST_F(MainWindowTest, WeeklyUsesFiftyTwoPeriods) {
  Enter("1000", "12", "12");
  form->rbtnWeekly->setChecked(true);
  Calculate();
  EXPECT_EQ(CalculationState().PeriodRate, static_cast<float>(0.01L * 12.0L * (1.0L / 52.0L)));
  EXPECT_EQ(form->GridRowCount(), 13);
}

TEST_F(MainWindowTest, OnePaymentAndZeroRate) {
  Enter("1000", "12", "1");
  Calculate();
  EXPECT_EQ(form->GridRowCount(), 2);
  EXPECT_EQ(Row(1), QStringList({" 1", "$1,000.00", "$1,000.00", "$0.00", " $0.00"}));
  EXPECT_EQ(Labels(), QStringList({"$1,010.00", "$0.00", "$1,000.00", "$1,000.00"}));
  Enter("1000", "0", "4");
  Calculate();
  // Principal 249.9950 shows as 250.00: the dropped digits round half away from zero.
  EXPECT_EQ(Row(1), QStringList({" 1", "$250.00", "$250.00", "$0.01", "$750.01"}));
}

struct InvalidCase {
  const char* amount;
  const char* interest;
  const char* payments;
  const char* message;
  int box;  // 0 amount, 1 interest, 2 payments
};

class InvalidInputTest : public MainWindowTest, public ::testing::WithParamInterface<InvalidCase> {};

TEST_P(InvalidInputTest, BeepsShowsTheMessageAndFocusesTheBoxChangingNothing) {
  Enter("1000", "12", "12");
  Calculate();
  const QStringList before = Labels();
  const LoanState stateBefore = CalculationState();
  const InvalidCase& c = GetParam();
  // Setting the amount text clears the table; calculate again where it stays valid.
  form->txtAmount->setText(QString::fromUtf8(c.amount));
  form->txtInterest->setText(QString::fromUtf8(c.interest));
  form->txtPayments->setText(QString::fromUtf8(c.payments));
  const QStringList labelsBefore = Labels();
  const int rowsBefore = form->GridRowCount();
  form->txtInterest->setFocus();
  QLineEdit* boxes[3] = {form->txtAmount, form->txtInterest, form->txtPayments};
  QWidget* focusAtMessage = nullptr;
  dialogs->OnEvent = [&](const ScriptedDialogs::Event& e) {
    if (e.kind == ScriptedDialogs::Event::Message) focusAtMessage = QApplication::focusWidget();
  };
  Calculate();
  ASSERT_EQ(dialogs->Events().size(), 2u);
  EXPECT_EQ(dialogs->Events()[0].kind, ScriptedDialogs::Event::Beep);
  EXPECT_EQ(dialogs->Events()[0].beepType, 1u);
  EXPECT_EQ(dialogs->Events()[1].kind, ScriptedDialogs::Event::Message);
  EXPECT_EQ(dialogs->Events()[1].caption, QStringLiteral("Tallyvane"));
  EXPECT_EQ(dialogs->Events()[1].text, QString::fromUtf8(c.message));
  EXPECT_EQ(focusAtMessage, form->txtInterest);  // the focus moves after the message
  EXPECT_EQ(QApplication::focusWidget(), boxes[c.box]);
  EXPECT_TRUE(WholeTextSelected(boxes[c.box]));
  EXPECT_EQ(Labels(), labelsBefore);
  EXPECT_EQ(form->GridRowCount(), rowsBefore);
  EXPECT_EQ(CalculationState().PaymentAmount, stateBefore.PaymentAmount);
  EXPECT_EQ(CalculationState().LoanAmount, stateBefore.LoanAmount);
  (void)before;
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, InvalidInputTest,
    ::testing::Values(InvalidCase{"", "12", "12", "   Invalid loan amount. Please try again.   ", 0},
                      InvalidCase{"1,000", "x", "12", "   Invalid loan amount. Please try again.   ", 0},
                      InvalidCase{"$100", "12", "12", "   Invalid loan amount. Please try again.   ", 0},
                      InvalidCase{"1000", " ", "12", "   Invalid interest amount. Please try again.   ", 1},
                      InvalidCase{"1000", "12", "", "   Invalid payments entry. Please try again.   ", 2},
                      InvalidCase{"1000", "12", "-", "   Invalid payments entry. Please try again.   ", 2}),
    [](const auto& p) {
      return param_names::Join(param_names::Words(p.param.amount), param_names::Words(p.param.interest),
                               param_names::Words(p.param.payments));
    });

TEST_F(MainWindowTest, InvalidInterestLeavesTheLastCalculationShown) {
  Enter("1000", "12", "12");
  Calculate();
  form->txtInterest->setText(QStringLiteral("abc"));
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({"   Invalid interest amount. Please try again.   "}));
  EXPECT_EQ(form->GridRowCount(), 13);
  EXPECT_EQ(Labels(), QStringList({"$88.85", "$65.36", "$1,000.00", "$1,065.36"}));
}

TEST_F(MainWindowTest, TypingInTheAmountClearsTableAndSummaryButNotInOtherBoxes) {
  Enter("1000", "12", "12");
  Calculate();
  form->txtInterest->setFocus();
  QTest::keyClicks(form->txtInterest, "5");
  form->txtPayments->setFocus();
  QTest::keyClicks(form->txtPayments, "7");
  form->rbtnWeekly->setChecked(true);
  EXPECT_EQ(form->GridRowCount(), 13);
  EXPECT_EQ(form->lblPayment->text(), QStringLiteral("$88.85"));
  form->txtAmount->setFocus();
  QTest::keyClick(form->txtAmount, Qt::Key_End);
  QTest::keyClicks(form->txtAmount, "0");
  EXPECT_EQ(form->GridRowCount(), 2);
  EXPECT_EQ(Row(1), QStringList({"", "", "", "", ""}));
  EXPECT_EQ(Labels(), kZeros);
  // The calculation state is kept.
  EXPECT_EQ(CalculationState().PaymentAmount.count, 888488);
}

TEST_F(MainWindowTest, NonWholeCountReachesTheDefaultErrorReport) {
  Enter("1000", "12", "12");
  Calculate();
  Enter("500", "24", "12.5");  // the amount edit clears the table
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({"'12.5' is not a valid integer value"}));
  EXPECT_EQ(CalculationState().LoanAmount.count, 5000000);
  EXPECT_EQ(CalculationState().PeriodRate, 0.02f);
  EXPECT_EQ(CalculationState().PaymentCount, 12);
  EXPECT_EQ(form->GridRowCount(), 2);
  EXPECT_EQ(Labels(), kZeros);
}

TEST_F(MainWindowTest, ZeroCountDividesByZeroAndLeavesTableAndLabels) {
  Enter("1000", "12", "12");
  Calculate();
  form->txtPayments->setText(QStringLiteral("0"));
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({"Floating point division by zero"}));
  EXPECT_EQ(CalculationState().PaymentCount, 0);
  EXPECT_EQ(form->GridRowCount(), 13);
  EXPECT_EQ(form->lblPayment->text(), QStringLiteral("$88.85"));
  dialogs->Clear();
  Enter("0", "12", "0");
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({"Invalid floating point operation"}));
  dialogs->Clear();
  Enter("1000", "-1200", "5");
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({"Payment"}));
}

TEST_F(MainWindowTest, NegativeAndExcessiveCountsAreRefusedWithAMessage) {
  Enter("1000", "12", "12");
  Calculate();
  form->txtPayments->setText(QStringLiteral("-5"));
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({NegativeCountMessage()}));
  EXPECT_EQ(form->GridRowCount(), 13);
  EXPECT_EQ(form->lblPayment->text(), QStringLiteral("$88.85"));
  dialogs->Clear();
  form->txtPayments->setText(QStringLiteral("1000001"));
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({TooManyPaymentsMessage()}));
  EXPECT_EQ(form->GridRowCount(), 13);
}

TEST_F(MainWindowTest, AmountTooLargeForMoneyReportsTheInvalidOperation) {
  Enter("1e16", "12", "12");
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({"Invalid floating point operation"}));
  EXPECT_EQ(form->GridRowCount(), 2);
  // The command stopped at the amount: nothing was read or stored.
  EXPECT_EQ(CalculationState().LoanAmount.count, 0);
  EXPECT_EQ(CalculationState().PeriodRate, 0.0f);
  EXPECT_EQ(CalculationState().PaymentCount, 0);
}

TEST_F(MainWindowTest, CompoundFactorOverflowStopsAfterTheCountWasRead) {
  Enter("1000", "12", "12");
  Calculate();
  form->txtInterest->setText(QStringLiteral("1200"));
  form->txtPayments->setText(QStringLiteral("20000"));
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList({"Floating point overflow"}));
  EXPECT_EQ(CalculationState().PeriodRate, 1.0f);
  EXPECT_EQ(CalculationState().PaymentCount, 20000);
  EXPECT_EQ(CalculationState().PaymentAmount.count, 888488);
  EXPECT_EQ(form->GridRowCount(), 13);
  EXPECT_EQ(Labels(), QStringList({"$88.85", "$65.36", "$1,000.00", "$1,065.36"}));
}

TEST_F(MainWindowTest, AMillionPaymentsFitTheTable) {
  Enter("1000000", "0", "1000000");
  Calculate();
  EXPECT_EQ(dialogs->Messages(), QStringList());
  EXPECT_EQ(form->GridRowCount(), 1000001);
  EXPECT_EQ(form->GridCell(0, 1000000), QStringLiteral(" 1000000"));
  EXPECT_EQ(form->GridCell(4, 1000000), QStringLiteral(" $0.00"));
  EXPECT_EQ(form->lblPrincipal->text(), QStringLiteral("$1,000,000.00"));
  EXPECT_EQ(form->lblInterest->text(), QStringLiteral("$5,000.00"));  // half a cent on 999,999 rows, rounded
  EXPECT_EQ(form->GridCell(1, 1000000), QStringLiteral("$5,001.00"));  // 5000.995 left
  form->grdAmort->scrollToBottom();
  QApplication::processEvents();
}

TEST_F(MainWindowTest, HelpAndAboutShowTheSameModalWindowEachTime) {
  QDialog about, help;
  form->SetCompanionWindows(&about, &help);
  int shown = 0;
  auto closeWhenModal = [&](QDialog* expected) {
    QTimer::singleShot(0, [&, expected] {
      if (QApplication::activeModalWidget() == expected) ++shown;
      expected->accept();
    });
  };
  for (int i = 0; i < 2; ++i) {
    closeWhenModal(&help);
    Click(form->flblHelp);
    closeWhenModal(&about);
    Click(form->flblAbout);
  }
  EXPECT_EQ(shown, 4);
  EXPECT_FALSE(help.isVisible());
  EXPECT_FALSE(about.isVisible());
}

TEST_F(MainWindowTest, ExitEndsTheMessageLoopAtOnce) {
  Enter("1000", "12", "12");
  Calculate();
  QTimer::singleShot(0, [&] { Click(form->flblExit); });
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  guard.start(5000);
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_TRUE(dialogs->Events().empty());
}

}  // namespace
