#pragma once
// The standard dialogs the program uses, behind one small service so tests can
// answer them: a message with one OK button, an input query, and MessageBeep.
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void MessageBeep(unsigned type) = 0;
  // Modal message with one OK button; caption is the window title.
  virtual void ShowMessage(const QString& caption, const QString& text) = 0;
  // Modal query with one edit field, OK and Cancel. Returns false on Cancel.
  virtual bool InputQuery(const QString& caption, const QString& prompt, QString& value) = 0;
};

Dialogs& TheDialogs();
// Installs a realization; returns the previous one (the caller owns it).
std::unique_ptr<Dialogs> SetDialogs(std::unique_ptr<Dialogs> dialogs);

class QtDialogs : public Dialogs {
 public:
  void MessageBeep(unsigned type) override;
  void ShowMessage(const QString& caption, const QString& text) override;
  bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
};

// Records what was shown and answers queries from a script (tests).
class ScriptedDialogs : public Dialogs {
 public:
  struct Event {
    enum Kind { Beep, Message, Query } kind;
    QString caption;
    QString text;  // message text or query prompt
    unsigned beepType = 0;
  };
  void MessageBeep(unsigned type) override;
  void ShowMessage(const QString& caption, const QString& text) override;
  bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
  // Next query answer: a text accepted with OK, or std::nullopt for Cancel.
  void QueueAnswer(std::optional<QString> answer) { answers_.push_back(std::move(answer)); }
  const std::vector<Event>& Events() const { return events_; }
  QStringList Messages() const;
  void Clear() { events_.clear(); }
  // Called while a message is "shown" (for instance to check the focus at that moment).
  std::function<void(const Event&)> OnEvent;

 private:
  std::vector<Event> events_;
  std::deque<std::optional<QString>> answers_;
};
