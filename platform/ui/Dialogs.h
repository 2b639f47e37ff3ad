// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The standard dialogs the program uses, behind one small service so tests can
// answer them: a message with one OK button, an input query, and MessageBeep.
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void MessageBeep(unsigned type) = 0;
  // Modal message with one OK button; caption is the window title.
  virtual void ShowMessage(const QString& caption, const QString& text) = 0;
  // Modal query with one edit field, OK and Cancel. Returns false on Cancel.
  virtual bool InputQuery(const QString& caption, const QString& prompt, QString& value) = 0;
  // Modal save-file dialog; fileName comes in as the suggested name and goes out
  // as the chosen path. filter: "PDF files (*.pdf)". Returns false on Cancel;
  // a realization without a file dialog always cancels.
  virtual bool SaveFileQuery(const QString& caption, const QString& filter, QString& fileName) {
    (void)caption, (void)filter, (void)fileName;
    return false;
  }
};

Dialogs& TheDialogs();
// Installs a realization; returns the previous one (the caller owns it).
std::unique_ptr<Dialogs> SetDialogs(std::unique_ptr<Dialogs> dialogs);

class QtDialogs : public Dialogs {
 public:
  void MessageBeep(unsigned type) override;
  void ShowMessage(const QString& caption, const QString& text) override;
  bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
  bool SaveFileQuery(const QString& caption, const QString& filter, QString& fileName) override;
};

// Never waits for a user: records what would have been shown and cancels every
// query. For runs without anyone at the screen (the companion reports the
// recorded messages on its error output).
class UnattendedDialogs : public Dialogs {
 public:
  struct Event {
    enum Kind { Beep, Message, Query, SaveQuery } kind;
    QString caption;
    QString text;  // message text, query prompt or suggested file name
    unsigned beepType = 0;
  };
  void MessageBeep(unsigned type) override;
  void ShowMessage(const QString& caption, const QString& text) override;
  bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
  // Answered from the same script as InputQuery, in turn.
  bool SaveFileQuery(const QString& caption, const QString& filter, QString& fileName) override;
  const std::vector<Event>& Events() const { return events_; }
  QStringList Messages() const;
  void Clear() { events_.clear(); }

 protected:
  // Called once an event is recorded.
  virtual void Noted(const Event&) {}
  // The answer to a query: true with value set for OK, false for Cancel.
  virtual bool Answer(QString&) { return false; }

 private:
  std::vector<Event> events_;
};
