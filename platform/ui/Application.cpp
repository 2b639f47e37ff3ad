// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "Application.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include "Dialogs.h"
#include "Errors.h"

namespace {

struct State {
  QString title;
  bool titleSet = false;
  bool terminated = false;
};

State& TheState() {
  static State state;
  return state;
}

const QString& UnexpectedErrorText() {
  static const QString text = QStringLiteral("An unexpected error occurred.");
  return text;
}

void Report(const QString& text) {
  // The report itself must not let an exception into the event loop.
  try {
    TheDialogs().ShowMessage(Application::Title(), text.isEmpty() ? UnexpectedErrorText() : text);
  } catch (...) {
  }
}

}  // namespace

QString Application::Title() {
  const State& state = TheState();
  if (state.titleSet) return state.title;
  return QCoreApplication::instance() ? QCoreApplication::applicationName() : QString();
}

void Application::SetTitle(const QString& title) {
  State& state = TheState();
  state.title = title;
  state.titleSet = true;
}

void Application::ProcessMessages() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

void Application::Terminate() {
  TheState().terminated = true;
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return;
  if (QThread::currentThread()->loopLevel() > 0)
    QCoreApplication::exit(0);
  else
    // Not inside the message loop yet: it ends as soon as it starts.
    QMetaObject::invokeMethod(
        app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

bool Application::Terminated() { return TheState().terminated; }

void Application::ShowException(const std::exception& error) {
  if (const auto* own = dynamic_cast<const Exception*>(&error))
    Report(own->Message());
  else
    Report(QString::fromUtf8(error.what()));
}

bool Application::Run(const std::function<void()>& command) {
  try {
    if (command) command();
    return true;
  } catch (const std::exception& error) {
    ShowException(error);
  } catch (...) {
    Report(UnexpectedErrorText());
  }
  return false;
}
