// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/DrivingSettings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;

// The small "Driving settings" dialog from the background menu: the four
// harsh-moment thresholds, a camera facing backwards and the speed unit.
class DrivingSettingsDialog : public QDialog {
  Q_OBJECT

public:
  explicit DrivingSettingsDialog(const DrivingSettings& settings, QWidget* parent = nullptr);

  // Runs the dialog on `settings`; on OK they take its values and are saved.
  // True when they were.
  static bool Edit(DrivingSettings& settings, QWidget* parent);

  DrivingSettings Settings() const;
  void Show(const DrivingSettings& settings);

private:
  QDoubleSpinBox* AddThreshold(const QString& label, double lowest, double highest);

  QDoubleSpinBox* m_pBraking = nullptr;
  QDoubleSpinBox* m_pAcceleration = nullptr;
  QDoubleSpinBox* m_pCornering = nullptr;
  QDoubleSpinBox* m_pImpact = nullptr;
  QCheckBox* m_pReversed = nullptr;
  QComboBox* m_pUnit = nullptr;
};
