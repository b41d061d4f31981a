// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;
struct MediaFunctions;

// Offers to repair a recording cut short by a power loss and repairs it when
// the user agrees: the new recording goes beside the damaged one, or into a
// folder the user picks when the card cannot be written. The window keeps
// painting and playing meanwhile; the repair shows its progress with Cancel.
class RepairOffer {
public:
  // The repaired recording's path; empty when declined, cancelled or failed
  // (a failure is shown in a message box).
  static QString Run(QWidget* window, const QString& damaged);

private:
  static bool Accepted(QWidget* window, const QString& damaged);
  static QString OutputFolder(QWidget* window, const QString& damaged);
  static QString Repair(QWidget* window, const MediaFunctions& media, const QString& damaged, const QString& output);
};
