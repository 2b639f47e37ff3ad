// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The print server, asked with deadlines. Qt's own CUPS engine submits
// whatever was drawn when its painter ends, even after QPrinter::abort(), and
// reports a refused job as success; and libcups's simple calls wait for minutes
// on a server that accepts connections and never answers. So the system
// printer looks its queue up and hands its spooled PDF over here.
#include <QString>
#include <functional>

class QIODevice;

namespace cups {

// A destination: a queue, or an instance of it ("queue/instance").
struct Destination {
  QString queue;
  QString instance;
  QString Name() const { return instance.isEmpty() ? queue : queue + u'/' + instance; }
  static Destination FromName(const QString& name);
};

enum class Lookup { Found, NoDefault, NoAnswer };

// The default destination (lpoptions, PRINTER/LPDEST, then the server's), with a
// deadline: a server that does not answer in time gives NoAnswer.
Lookup FindDefault(Destination& found, int deadlineMs);

// Whether the server knows the named destination, with the same deadline;
// NoDefault (with the server's reason in `reason`) when it does not.
Lookup FindNamed(const Destination& wanted, int deadlineMs, QString& reason);

// Sends the PDF in data (read from its start) as one job with the destination's
// own options (an instance's included) under ours. The calling thread keeps
// processing window events meanwhile; a server silent for a few seconds ends
// the attempt. The job counts as sent only once the server has confirmed its
// document; otherwise it is withdrawn and EPrinter raised with the reason.
// When cancelled() turns true first, the attempt ends at once, the job is
// withdrawn and the result is false.
// sides: the IPP "sides" value (two-sided-long-edge, ...); empty leaves the queue's own.
bool Submit(const Destination& destination, QIODevice& data, const QString& title, int copies, const QString& media,
            const std::function<bool()>& cancelled = {}, const QString& sides = {});

// Waits until no request to the server is still under way, those whose
// answer was given up on included (they withdraw what they left); false when
// some still are after deadlineMs.
bool WaitForGivenUpRequests(int deadlineMs);
// The sentence for a print server that did not answer.
QString NoAnswerMessage();

}  // namespace cups
