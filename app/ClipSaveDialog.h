// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QCheckBox;
class QLineEdit;

// Where a clip goes and what it holds: exact (the default), with the
// telemetry burned into the picture, private (no position, optionally no
// sound), with a GPX track beside it. It says how far the start snaps back.
class ClipSaveDialog : public QDialog {
public:
  struct Choice {
    QString path;
    bool burnIn = false;
    bool burnInPosition = false;
    bool privateClip = false;
    bool withoutSound = false;
    bool gpx = false;
  };

  ClipSaveDialog(QWidget* parent, const QString& folder, const QString& name, const QString& snapNote);
  // The user's choice; none when cancelled.
  static std::optional<Choice> Ask(QWidget* parent, const QString& folder, const QString& name,
                                   const QString& snapNote);
  Choice Chosen() const;

private:
  void ChooseFolder();
  void FollowOptions();

  QLineEdit* m_folder;
  QLineEdit* m_name;
  QCheckBox* m_burnIn;
  QCheckBox* m_burnInPosition;
  QCheckBox* m_private;
  QCheckBox* m_withoutSound;
  QCheckBox* m_gpx;
};
