// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DrivingSettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QPushButton>

namespace {

constexpr double kStepG = 0.05;
constexpr double kSmallestG = 0.05;
constexpr double kLargestG = 2.0; // the sensor's range

} // namespace

DrivingSettingsDialog::DrivingSettingsDialog(const DrivingSettings& settings, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Driving settings"));
  auto* form = new QFormLayout(this);
  m_pBraking = AddThreshold(QStringLiteral("Harsh braking at or below"), -kLargestG, -kSmallestG);
  m_pAcceleration = AddThreshold(QStringLiteral("Harsh acceleration at or above"), kSmallestG, kLargestG);
  m_pCornering = AddThreshold(QStringLiteral("Sharp cornering at or above"), kSmallestG, kLargestG);
  m_pImpact = AddThreshold(QStringLiteral("Impact at or above"), kSmallestG, kLargestG);
  m_pReversed = new QCheckBox(QStringLiteral("The camera faces backwards (rear window)"), this);
  form->addRow(m_pReversed);
  m_pUnit = new QComboBox(this);
  m_pUnit->addItem(QString::fromLatin1(SpeedUnit::Label(SpeedUnit::Unit::kKmh)), int(SpeedUnit::Unit::kKmh));
  m_pUnit->addItem(QString::fromLatin1(SpeedUnit::Label(SpeedUnit::Unit::kMph)), int(SpeedUnit::Unit::kMph));
  form->addRow(QStringLiteral("Speed in"), m_pUnit);
  auto* buttons =
      new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // Defaults for the detection only: the unit is a taste, not a default.
  connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this, [this] {
    DrivingSettings defaults;
    defaults.unit = Settings().unit;
    Show(defaults);
  });
  form->addRow(buttons);
  Show(settings);
}

QDoubleSpinBox* DrivingSettingsDialog::AddThreshold(const QString& label, double lowest, double highest) {
  auto* box = new QDoubleSpinBox(this);
  box->setRange(lowest, highest);
  box->setDecimals(2);
  box->setSingleStep(kStepG);
  box->setSuffix(QStringLiteral(" g"));
  static_cast<QFormLayout*>(layout())->addRow(label, box);
  return box;
}

void DrivingSettingsDialog::Show(const DrivingSettings& settings) {
  m_pBraking->setValue(double(settings.thresholds.brakingG));
  m_pAcceleration->setValue(double(settings.thresholds.accelerationG));
  m_pCornering->setValue(double(settings.thresholds.corneringG));
  m_pImpact->setValue(double(settings.thresholds.impactG));
  m_pReversed->setChecked(settings.mountedReversed);
  m_pUnit->setCurrentIndex(m_pUnit->findData(int(settings.unit)));
}

DrivingSettings DrivingSettingsDialog::Settings() const {
  DrivingSettings settings;
  settings.thresholds.brakingG = float(m_pBraking->value());
  settings.thresholds.accelerationG = float(m_pAcceleration->value());
  settings.thresholds.corneringG = float(m_pCornering->value());
  settings.thresholds.impactG = float(m_pImpact->value());
  settings.mountedReversed = m_pReversed->isChecked();
  settings.unit = SpeedUnit::Unit(m_pUnit->currentData().toInt());
  return settings;
}

bool DrivingSettingsDialog::Edit(DrivingSettings& settings, QWidget* parent) {
  DrivingSettingsDialog dialog(settings, parent);
  if (dialog.exec() != QDialog::Accepted)
    return false;
  settings = dialog.Settings();
  settings.Save();
  return true;
}
