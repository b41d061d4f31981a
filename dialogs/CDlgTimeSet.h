// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/DialogUnits.h"
#include "platform/Volumes.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QDateTime;
class QLabel;
class QPushButton;

// The "Time Set." dialog: finds the camera's card among the mounted volumes
// and writes the computer's local time to it as "usertimeset.txt", which the
// camera reads at power-on to set its clock.
class CDlgTimeSet : public QDialog {
  Q_OBJECT

public:
  enum ControlId {
    IDC_CREATE = 1065,
    IDC_COMMENT = 1066,
    IDC_HINT = 1067,
    IDC_WRITTEN_TIME = 1068,
    IDC_CAMERA_CLOCK = 1069,
    IDC_WRITE_CORRECTED = 1070,
    IDC_DRIVE_BOX = 1084
  };
  using VolumeLister = std::function<std::vector<platform::Volume>()>;

  // `listVolumes` stands in for the system's list in tests.
  explicit CDlgTimeSet(QWidget* parent = nullptr, VolumeLister listVolumes = platform::listVolumes);

  // "2009/03/07 09:05:03": exactly the 19 characters the camera reads.
  static QByteArray TimeSetText(const QDateTime& time);
  // The time the camera's clock should show at `now`: UTC in the camera's
  // own zone, whatever zone the computer is in.
  static QByteArray CorrectedTimeText(const QDateTime& now, int zoneMinutes);

  // How the card's camera clock stands (its line, e.g. "Camera clock:
  // UTC+02:00, 73 s fast (from 12 recordings)"), and its zone when known;
  // with a drift worth it, the corrected time can be written.
  void SetCameraClock(const QString& line, std::optional<int> zoneMinutes, bool driftNoticeable);

  // Card-drive state, rebuilt at every opening and kept until the next.
  const std::string& SelectedCardDrive() const { return m_selectedCardDrive; }
  const std::vector<std::string>& DriveList() const { return m_driveList; }
  const std::vector<std::string>& CardDriveList() const { return m_cardDriveList; }

protected:
  void showEvent(QShowEvent* event) override;

private:
  void CreateControls();
  void BindMessageMap();
  void OnInitDialog();
  void DetectCardDrives();
  bool FindSetupIni();
  void OnDriveSelected(int index);
  void CreateTimeSetFile();
  void WriteCorrectedTime();
  // Writes `text` to the selected card and says how it went.
  void WriteTime(const QByteArray& text);
  // Writes, flushes to the medium and closes; empty on success, else the reason.
  QString WriteTimeSetFile(const QString& path, const QByteArray& text) const;
  void ShowMessage(const QString& text);
  template <typename Widget> Widget* Place(Widget* widget, int x, int y, int width, int height) const {
    widget->setGeometry(m_units.toPixels(x, y, width, height));
    return widget;
  }

  VolumeLister m_listVolumes;
  DialogUnits m_units;
  std::string m_selectedCardDrive;
  std::vector<std::string> m_driveList;
  std::vector<std::string> m_cardDriveList;
  unsigned m_nCardDrives = 0;

  QPushButton* m_pExit = nullptr;
  QPushButton* m_pCreate = nullptr;
  QComboBox* m_pDriveBox = nullptr;
  QLabel* m_pComment = nullptr;
  QLabel* m_pHint = nullptr;
  QLabel* m_pWrittenTime = nullptr;
  QLabel* m_pCameraClock = nullptr;
  QPushButton* m_pWriteCorrected = nullptr;
  std::optional<int> m_cameraZoneMinutes;
};
