// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

// The bold serif of the graph's value texts: a cell 11 pixels high whose
// characters average 11 pixels wide. "Times New Roman" where installed,
// else the metric-compatible "Liberation Serif"; with neither, a diagnostic
// line says which font stands in.
class GraphFont {
public:
  static constexpr int kCellHeight = 11;
  static constexpr int kAverageWidth = 11;

  // Resolved once per process; the application's fonts must be ready.
  static const QFont& Font();
  // The first of the wanted families that is installed; empty when none is.
  static QString InstalledFamily();

private:
  static QFont Resolve();
};
