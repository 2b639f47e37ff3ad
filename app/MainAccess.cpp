// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The main window from the keyboard, through assistive technology and on
// scaled screens: the command keys, the names of the boxes, the captions of the
// summary values, and artwork drawn for one and for two device pixels a pixel.
#include <QAccessible>
#include <QGroupBox>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <utility>

#include "QVXFlashLabel.h"
#include "main.h"

namespace {
// A caption as a name: "Amount :" is announced as "Amount".
QString SpokenCaption(const QLabel* caption) {
  QString text = caption->text().trimmed();
  if (text.endsWith(u':')) text.chop(1);
  return text.trimmed();
}
}  // namespace

void TMainForm::InstallCommandKeys() {
  const struct {
    QKeySequence key;
    TQVXFlashLabel* label;
  } commands[] = {
      {QKeySequence(Qt::Key_F9), flblCalculate},
      {QKeySequence(Qt::CTRL | Qt::Key_P), flblPrint},
      {QKeySequence(Qt::Key_F1), flblHelp},
      {QKeySequence(Qt::CTRL | Qt::Key_Q), flblExit},
  };
  for (const auto& command : commands) {
    // Window-wide, so the key works whichever control has the focus; a modal
    // dialog of the program (help, about, the date query) keeps it away.
    auto* shortcut = new QShortcut(command.key, this);
    shortcut->setContext(Qt::WindowShortcut);
    shortcut->setAutoRepeat(false);
    TQVXFlashLabel* label = command.label;
    connect(shortcut, &QShortcut::activated, this, [this, label] {
      // A print lets window messages through between sheets; a command given
      // meanwhile is dropped, as a click on the command bar is.
      if (PrintRunning() || !label->isEnabled()) return;
      // The label's own click path: the handler under the default error report.
      if (const TNotifyEvent& click = label->OnClick()) click(label);
    });
  }
}

void TMainForm::DescribeForAssistiveTechnology() {
  // The buddy gives the platform's label relation; the name drops the colon,
  // which would otherwise be read out, and the group box title Qt falls back to.
  for (auto [caption, box] : {std::pair{Label1, txtAmount}, {Label2, txtInterest}, {Label3, txtPayments}}) {
    caption->setBuddy(box);
    box->setAccessibleName(SpokenCaption(caption));
  }
  // Without a name of its own, the inner group box would be read by the title of the outer one.
  for (QGroupBox* group : {GroupBox1, GroupBox2, GroupBox3}) group->setAccessibleName(group->title().trimmed());
  // A summary value is read as "$88.85, Payments".
  for (auto [caption, value] :
       {std::pair{Label4, lblPayment}, {Label6, lblInterest}, {Label7, lblPrincipal}, {Label5, lblTotalAmt}})
    value->setAccessibleDescription(SpokenCaption(caption));
}

void TMainForm::LoadArtwork() {
  // Both sizes are given explicitly: QIcon looks for the @2x file by itself
  // only when the application starts on a scaled screen.
  const auto artwork = [](const QString& name) {
    QIcon icon(QStringLiteral(":/images/%1.png").arg(name));
    icon.addFile(QStringLiteral(":/images/%1@2x.png").arg(name));
    return icon;
  };
  setWindowIcon(artwork(QStringLiteral("icon")));
  // The 32 x 33 picture is stretched into its 29 x 29 box; from the doubled
  // picture when the screen doubles, so it stays sharp.
  Image1->setPixmap(artwork(QStringLiteral("commandbar")).pixmap(QSize(32, 33), devicePixelRatioF()));
}
