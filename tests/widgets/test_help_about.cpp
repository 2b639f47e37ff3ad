// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The help window and the about box: layouts, the help text, closing and reopening.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <gtest/gtest.h>

#include "About.h"
#include "Help.h"

namespace {

const QString ExpectedHelpText = QStringLiteral(
    "\r\n"
    " Enter the loan amount, annual interest rate, and the number of monthly/weekly payments to be made. "
    "Select whether these are monthly or weekly payments.\r\n\r\n\r\n"
    " Click CALCULATE to have the Payment and Amortization Schedule calculated.\r\n\r\n\r\n"
    " Any changes to the above information will have to be recalculated.\r\n\r\n\r\n"
    " Click PRINT to print the Amortization Schedule by providing the date on which the first payment is to be made.");

// Runs the dialog modally while `script` acts on it from inside the modal loop.
int ExecWith(QDialog& dialog, std::function<void()> script) {
  QTimer::singleShot(0, &dialog, [&dialog, script] {
    if (QApplication::activeModalWidget() != &dialog) {
      ADD_FAILURE() << "dialog not modal";
      dialog.reject();
      return;
    }
    script();
    // A script that failed to close the window must not hang the test.
    if (dialog.isVisible()) {
      ADD_FAILURE() << "dialog still open";
      dialog.reject();
    }
  });
  return dialog.exec();
}

void ExpectFixedDialogFrame(const QDialog& dialog, QSize client) {
  EXPECT_EQ(dialog.size(), client);
  EXPECT_EQ(dialog.minimumSize(), client);
  EXPECT_EQ(dialog.maximumSize(), client);
  const Qt::WindowFlags flags = dialog.windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::Dialog));
  EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_EQ(dialog.font().family(), QStringLiteral("MS Sans Serif"));
  EXPECT_EQ(dialog.font().pixelSize(), 11);
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(dialog.x(), area.x() + (area.width() - client.width()) / 2);
  EXPECT_EQ(dialog.y(), area.y() + (area.height() - client.height()) / 2);
}

// ---- help window ---------------------------------------------------------------

TEST(HelpWindow, Layout) {
  TfrmHelp help;
  EXPECT_EQ(help.windowTitle(), QStringLiteral("Help for Tallyvane"));
  ExpectFixedDialogFrame(help, QSize(427, 241));
  EXPECT_EQ(help.Edit1->geometry(), QRect(4, 4, 417, 201));
  EXPECT_EQ(help.btnOK->geometry(), QRect(168, 212, 65, 21));
  EXPECT_EQ(help.btnOK->text(), QStringLiteral("&OK"));
  EXPECT_TRUE(help.btnOK->isDefault());
}

TEST(HelpWindow, TextBoxCannotBeEditedSelectedOrFocused) {
  TfrmHelp help;
  EXPECT_TRUE(help.Edit1->isReadOnly());
  EXPECT_FALSE(help.Edit1->isEnabled());
  EXPECT_EQ(help.Edit1->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(help.Edit1->textInteractionFlags(), Qt::NoTextInteraction);
  EXPECT_EQ(help.Edit1->lineWrapMode(), QTextEdit::WidgetWidth);
  EXPECT_FALSE(help.Edit1->acceptRichText());
}

TEST(HelpWindow, StoredTextUntilFirstShown) {
  TfrmHelp help;
  EXPECT_EQ(help.Edit1->toPlainText(), QStringLiteral("Edit1"));
  EXPECT_TRUE(help.HelpText().isEmpty());
}

TEST(HelpWindow, TextIsAssembledExactly) {
  EXPECT_EQ(TfrmHelp::BuildHelpText(), ExpectedHelpText);
  // The fourteen pieces' lengths, counted by hand.
  EXPECT_EQ(ExpectedHelpText.size(), 2 + 46 + 54 + 52 + 6 + 29 + 45 + 6 + 43 + 24 + 6 + 39 + 49 + 23);
}

TEST(HelpWindow, ShowingBuildsTheTextAsFourParagraphs) {
  TfrmHelp help;
  help.show();
  EXPECT_EQ(help.HelpText(), ExpectedHelpText);
  // CR LF is one line break in the box: an empty first line, then paragraphs
  // separated by two empty lines, nothing after the last.
  QString shown = ExpectedHelpText;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  EXPECT_EQ(help.Edit1->toPlainText(), shown);
  const QTextDocument* document = help.Edit1->document();
  ASSERT_EQ(document->blockCount(), 11);
  const QStringList blocks = help.Edit1->toPlainText().split(QLatin1Char('\n'));
  EXPECT_TRUE(blocks[0].isEmpty());
  for (int paragraph : {1, 4, 7, 10}) EXPECT_TRUE(blocks[paragraph].startsWith(QLatin1Char(' '))) << paragraph;
  for (int empty : {2, 3, 5, 6, 8, 9}) EXPECT_TRUE(blocks[empty].isEmpty()) << empty;
  help.hide();
}

TEST(HelpWindow, OpeningTwiceShowsTheSameTextNotADoubledOne) {
  TfrmHelp help;
  QString first;
  QString second;
  EXPECT_EQ(ExecWith(help,
                     [&] {
                       first = help.Edit1->toPlainText();
                       help.btnOK->click();
                     }),
            QDialog::Rejected);
  EXPECT_FALSE(help.isVisible());
  ExecWith(help, [&] {
    second = help.Edit1->toPlainText();
    help.btnOK->click();
  });
  EXPECT_EQ(first, second);
  EXPECT_EQ(help.HelpText(), ExpectedHelpText);
}

TEST(HelpWindow, ActivationRebuildsTheText) {
  TfrmHelp help;
  help.Edit1->setPlainText(QStringLiteral("changed"));
  help.FormActivate();
  EXPECT_EQ(help.HelpText(), ExpectedHelpText);
  EXPECT_NE(help.Edit1->toPlainText(), QStringLiteral("changed"));
}

TEST(HelpWindow, EnterClosesTheWindow) {
  TfrmHelp help;
  ExecWith(help, [&] { QTest::keyClick(&help, Qt::Key_Return); });
  EXPECT_FALSE(help.isVisible());
}

TEST(HelpWindow, ClickOnOkClosesTheWindow) {
  TfrmHelp help;
  ExecWith(help, [&] { QTest::mouseClick(help.btnOK, Qt::LeftButton); });
  EXPECT_FALSE(help.isVisible());
}

TEST(HelpWindow, AltOIsTheAccessKey) {
  TfrmHelp help;
  EXPECT_EQ(help.btnOK->shortcut(), QKeySequence(Qt::ALT | Qt::Key_O));
}

// ---- about box -----------------------------------------------------------------

TEST(AboutBox, WindowAndButton) {
  TAboutBox about;
  EXPECT_EQ(about.windowTitle(), QStringLiteral("About Tallyvane"));
  ExpectFixedDialogFrame(about, QSize(298, 188));
  EXPECT_EQ(about.Panel1->geometry(), QRect(0, 0, 298, 157));
  EXPECT_EQ(about.OKButton->geometry(), QRect(111, 163, 75, 22));
  EXPECT_EQ(about.OKButton->text(), QStringLiteral("OK"));
  EXPECT_TRUE(about.OKButton->isDefault());
}

struct PlacedLabel {
  const char* name;
  QRect geometry;
};

class AboutBoxLabels : public ::testing::TestWithParam<PlacedLabel> {};

TEST_P(AboutBoxLabels, FixedSizeCentredOnThePanel) {
  TAboutBox about;
  about.show();
  const auto* label = about.findChild<QLabel*>(QString::fromLatin1(GetParam().name));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->parentWidget(), about.Panel1);
  EXPECT_EQ(label->geometry(), GetParam().geometry);
  EXPECT_TRUE(label->alignment().testFlag(Qt::AlignHCenter));
  EXPECT_FALSE(label->text().isEmpty());
  about.hide();
}

INSTANTIATE_TEST_SUITE_P(All, AboutBoxLabels,
                         ::testing::Values(PlacedLabel{"ProductName", QRect(44, 16, 228, 20)},
                                           PlacedLabel{"Version", QRect(60, 40, 193, 16)},
                                           PlacedLabel{"Copyright", QRect(12, 72, 269, 13)},
                                           PlacedLabel{"Label1", QRect(12, 88, 269, 13)},
                                           PlacedLabel{"Label2", QRect(12, 120, 269, 13)},
                                           PlacedLabel{"Label3", QRect(12, 136, 269, 13)}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(AboutBox, TitleTextsAndFonts) {
  TAboutBox about;
  EXPECT_EQ(about.ProductName->text(), QStringLiteral("Tallyvane"));
  EXPECT_EQ(about.Version->text(), QStringLiteral("Version 1.5a"));
  EXPECT_EQ(about.ProductName->font().pixelSize(), 16);
  EXPECT_TRUE(about.ProductName->font().bold());
  EXPECT_EQ(about.Version->font().pixelSize(), 13);
  EXPECT_TRUE(about.Version->font().bold());
  EXPECT_EQ(about.Copyright->font().pixelSize(), 11);
  EXPECT_FALSE(about.Copyright->font().bold());
  EXPECT_EQ(about.ProductName->palette().color(QPalette::WindowText), QColor(Qt::black));
  EXPECT_EQ(about.Version->palette().color(QPalette::WindowText), QColor(Qt::black));
  EXPECT_FALSE(about.ProductName->autoFillBackground());
  // The credit lines name the two components.
  EXPECT_TRUE(about.Label2->text().contains(QStringLiteral("TQVXFlashLabel")));
  EXPECT_TRUE(about.Label3->text().contains(QStringLiteral("TPagePrinter")));
}

TEST(AboutBox, PictureAndBevel) {
  TAboutBox about;
  EXPECT_EQ(about.ProgramIcon->geometry(), QRect(8, 16, 49, 53));
  EXPECT_TRUE(about.ProgramIcon->hasScaledContents());
  const QPixmap picture = about.ProgramIcon->pixmap();
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), QSize(32, 33));
  EXPECT_TRUE(picture.hasAlphaChannel());
  EXPECT_EQ(about.Bevel1->geometry(), QRect(8, 112, 281, 5));
  EXPECT_EQ(about.Bevel1->frameRect().top(), 0);  // the line runs along the top edge
}

TEST(AboutBox, OkEndsTheModalShowingWithAccepted) {
  TAboutBox about;
  EXPECT_EQ(ExecWith(about, [&] { QTest::mouseClick(about.OKButton, Qt::LeftButton); }), QDialog::Accepted);
  EXPECT_FALSE(about.isVisible());
  // Shown again, as often as the user asks.
  EXPECT_EQ(ExecWith(about, [&] { QTest::keyClick(&about, Qt::Key_Return); }), QDialog::Accepted);
  EXPECT_FALSE(about.isVisible());
}

// Both windows close by OK or Enter only: Esc leaves them open, and the
// modal showing then still ends normally by Enter.
struct EscCase {
  const char* name;
  std::function<std::unique_ptr<QDialog>()> make;
};
void PrintTo(const EscCase& c, std::ostream* os) { *os << c.name; }

class EscDoesNothing : public ::testing::TestWithParam<EscCase> {};

TEST_P(EscDoesNothing, WindowStaysOpenUntilEnter) {
  std::unique_ptr<QDialog> dialog = GetParam().make();
  bool openAfterEsc = false;
  ExecWith(*dialog, [&] {
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    openAfterEsc = dialog->isVisible();
    QTest::keyClick(dialog.get(), Qt::Key_Return);
  });
  EXPECT_TRUE(openAfterEsc);
  EXPECT_FALSE(dialog->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Both, EscDoesNothing,
                         ::testing::Values(EscCase{"Help", [] { return std::unique_ptr<QDialog>(new TfrmHelp); }},
                                           EscCase{"About", [] { return std::unique_ptr<QDialog>(new TAboutBox); }}),
                         [](const ::testing::TestParamInfo<EscCase>& p) { return std::string(p.param.name); });

}  // namespace
