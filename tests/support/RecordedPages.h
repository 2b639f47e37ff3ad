// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// What the page printer's tests read back from recorded pages (the texts and
// the lines drawn, with their places), and readable QString output in failure
// messages.
#include <QPoint>
#include <QString>
#include <QStringList>
#include <ostream>
#include <vector>

#include "Metafile.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) {
  *os << '{';
  for (const QString& s : l) *os << '"' << s.toStdString() << "\" ";
  *os << '}';
}

struct DrawnText {
  QString text;
  int x = 0;
  int y = 0;
  bool operator==(const DrawnText& o) const { return text == o.text && x == o.x && y == o.y; }
};
inline std::ostream& operator<<(std::ostream& os, const DrawnText& t) {
  return os << "\"" << t.text.toStdString() << "\"@(" << t.x << "," << t.y << ")";
}

struct DrawnLine {
  QPoint from, to;
  int width = 0;
  bool operator==(const DrawnLine& o) const { return from == o.from && to == o.to && width == o.width; }
};
inline std::ostream& operator<<(std::ostream& os, const DrawnLine& l) {
  return os << "(" << l.from.x() << "," << l.from.y() << ")-(" << l.to.x() << "," << l.to.y() << ") w" << l.width;
}

inline std::vector<DrawnText> TextsOf(const TMetafile* page) {
  std::vector<DrawnText> out;
  for (const TMetaOp* op : page->TextOperations()) out.push_back({op->text, op->origin.x(), op->origin.y()});
  return out;
}

inline std::vector<DrawnLine> LinesOf(const TMetafile* page) {
  std::vector<DrawnLine> out;
  for (const TMetaOp& op : page->Operations())
    if (op.kind == TMetaOp::Polyline && op.points.size() == 2)
      out.push_back({op.points[0], op.points[1], op.pen.Width});
  return out;
}
