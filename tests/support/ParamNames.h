// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Case names for parameterized tests, made from the parameter values.
// GoogleTest takes letters, digits and underscores only, and CTest lists the
// names, so they must read well and stay the same from run to run (a default
// name would be an index, and a printed parameter may carry a byte dump).
#pragma once

#include <cctype>
#include <iomanip>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>

namespace param_names {

// A text as one name part: letters and digits stay, the signs that tell test
// inputs apart are spelled out ("-5" → "Minus5", "1.5" → "1Point5", " " →
// "Space"), other characters separate words, and an empty text is "Empty".
inline std::string Words(std::string_view text) {
  if (text.empty()) return "Empty";
  std::string out;
  bool capitalize = false;
  auto spell = [&](const char* word) {
    out += word;
    capitalize = true;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const bool digitNext = i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1]));
    if (std::isalnum(c)) {
      out += static_cast<char>(capitalize ? std::toupper(c) : c);
      capitalize = false;
    } else if (c == '-') {
      spell(digitNext ? "Minus" : "Dash");
    } else if (c == '.') {
      spell("Point");
    } else if (c == ',') {
      spell("Comma");
    } else if (c == '$') {
      spell("Dollar");
    } else if (c == '%') {
      spell("Percent");
    } else if (c == '<') {
      spell("Lt");
    } else if (c == '>') {
      spell("Gt");
    } else if (c == '^') {
      spell("Caret");
    } else if (c == '\t') {
      spell("Tab");
    } else if (std::isspace(c)) {
      if (out.size() < 5 || out.compare(out.size() - 5, 5, "Space") != 0) spell("Space");
    } else if (!out.empty() && out.back() != '_') {
      out += '_';
      capitalize = false;
    }
  }
  while (!out.empty() && out.back() == '_') out.pop_back();
  return out.empty() ? "Symbols" : out;
}

// A number as one name part, with no more digits than the value needs.
template <class Number>
std::string Value(Number value) {
  std::ostringstream text;
  if constexpr (std::is_floating_point_v<Number>)
    text << std::setprecision(std::is_same_v<Number, float> ? 6 : 15) << value;
  else
    text << +value;
  return Words(text.str());
}

// Parts joined with underscores.
inline std::string Join(std::string_view first) { return std::string(first); }
template <class... Rest>
std::string Join(std::string_view first, const Rest&... rest) {
  return std::string(first) + "_" + Join(rest...);
}

}  // namespace param_names
