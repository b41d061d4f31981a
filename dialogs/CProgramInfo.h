// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QTextEdit;
class QPushButton;

// The small modal "Info" dialog: the program's version and who makes it.
class CProgramInfo : public QDialog {
  Q_OBJECT

public:
  enum ControlId { IDC_VERSION = 1053, IDC_MAKER = 1055, IDC_KEYS = 1056, IDC_CAMERA_CLOCK = 1057 };

  explicit CProgramInfo(QWidget* parent = nullptr);

  // "Ver 1.05"; the main window shows the same line.
  static QString VersionText();
  static QString MakerText();
  // The window's keys, one "key<TAB>meaning" line each, shown as a table
  // below the maker text; the dialog grows to show them all.
  void SetKeyHelp(const QString& lines);
  // How the open card's camera clock stands, e.g. "Camera clock: UTC+02:00,
  // 73 s fast (from 12 recordings)"; empty hides it.
  void SetCameraClock(const QString& line);

  void setVisible(bool visible) override;

protected:
  void showEvent(QShowEvent* event) override;

private:
  void CreateControls();
  void OnInitDialog();
  void ShowKeyHelp();

  QPushButton* m_pOk = nullptr;
  QPushButton* m_pCancel = nullptr;
  QLabel* m_pVersion = nullptr;
  QTextEdit* m_pMaker = nullptr;
  QLabel* m_pKeys = nullptr;
  QLabel* m_pCameraClock = nullptr;
  QString m_strKeyHelp; // until the dialog opens
};
