// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

std::unique_ptr<Dialogs>& Installed() {
  static std::unique_ptr<Dialogs> dialogs;
  return dialogs;
}

// Dialogs belong to the window the user is working in, when there is one.
QWidget* DialogParent() {
  return QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
}

}  // namespace

Dialogs& TheDialogs() {
  auto& dialogs = Installed();
  if (!dialogs) dialogs = std::make_unique<QtDialogs>();
  return *dialogs;
}

std::unique_ptr<Dialogs> SetDialogs(std::unique_ptr<Dialogs> dialogs) {
  auto& installed = Installed();
  std::unique_ptr<Dialogs> previous = std::move(installed);
  installed = std::move(dialogs);  // empty: the Qt dialogs come back on next use
  return previous;
}

void QtDialogs::MessageBeep(unsigned) { QApplication::beep(); }

void QtDialogs::ShowMessage(const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, DialogParent());
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

bool QtDialogs::InputQuery(const QString& caption, const QString& prompt, QString& value) {
  QInputDialog dialog(DialogParent());
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(caption);
  dialog.setLabelText(prompt);
  dialog.setTextValue(value);
  if (dialog.exec() != QDialog::Accepted) return false;
  value = dialog.textValue();
  return true;
}

bool QtDialogs::SaveFileQuery(const QString& caption, const QString& filter, QString& fileName) {
  QFileDialog dialog(DialogParent(), caption, QString(), filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The suggested name, in the folder the dialog last showed (the working folder at first).
  static QString lastFolder;
  dialog.setDirectory(lastFolder.isEmpty() ? QDir::currentPath() : lastFolder);
  dialog.selectFile(fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  fileName = dialog.selectedFiles().constFirst();
  lastFolder = dialog.directory().absolutePath();
  return true;
}

void UnattendedDialogs::MessageBeep(unsigned type) {
  const Event event{Event::Beep, QString(), QString(), type};
  events_.push_back(event);
  Noted(event);
}

void UnattendedDialogs::ShowMessage(const QString& caption, const QString& text) {
  const Event event{Event::Message, caption, text, 0};
  events_.push_back(event);
  Noted(event);
}

bool UnattendedDialogs::InputQuery(const QString& caption, const QString& prompt, QString& value) {
  const Event event{Event::Query, caption, prompt, 0};
  events_.push_back(event);
  Noted(event);
  return Answer(value);
}

bool UnattendedDialogs::SaveFileQuery(const QString& caption, const QString&, QString& fileName) {
  const Event event{Event::SaveQuery, caption, fileName, 0};
  events_.push_back(event);
  Noted(event);
  return Answer(fileName);
}

QStringList UnattendedDialogs::Messages() const {
  QStringList messages;
  for (const Event& event : events_)
    if (event.kind == Event::Message) messages << event.text;
  return messages;
}
