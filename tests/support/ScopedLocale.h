// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <clocale>
#include <string>

namespace testing_support {

// The German desktop locale: numbers with a decimal comma.
inline constexpr char kDecimalCommaLocale[] = "de_DE.UTF-8";

// A locale category switched for a scope, the previous setting put back after.
class ScopedLocale {
public:
  ScopedLocale(int category, const char* name) : m_category(category), m_previous(std::setlocale(category, nullptr)) {
    m_switched = std::setlocale(category, name) != nullptr;
  }
  ~ScopedLocale() { std::setlocale(m_category, m_previous.c_str()); }
  ScopedLocale(const ScopedLocale&) = delete;
  ScopedLocale& operator=(const ScopedLocale&) = delete;

  // False when the locale is not installed (scripts/install-deps generates it).
  bool switched() const { return m_switched; }

private:
  int m_category;
  std::string m_previous;
  bool m_switched = false;
};

} // namespace testing_support
