// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ControlId.h"

#include <QHash>

class QWidget;
namespace layout {
enum class ControlKind;
}

// The main window's controls by their identifiers.
using ControlMap = QHash<int, QWidget*>;

// Turns the layout tables into the main window's controls and dresses them in
// the skin; needs no engine.
class WindowBuilder {
public:
  // The template's controls, children of `window` at their template places.
  static ControlMap CreateControls(QWidget* window);
  // The skin's pictures, the run-time places, the tooltips and the colours.
  static void Dress(const ControlMap& controls);

private:
  static QWidget* CreateControl(QWidget* window, ControlId id, layout::ControlKind kind, const char* text);
  static void ApplySkin(const ControlMap& controls);
  static void MoveToRuntimeLayout(const ControlMap& controls);
  static void CreateTooltips(const ControlMap& controls);
  static void SetControlColours(const ControlMap& controls);
};
