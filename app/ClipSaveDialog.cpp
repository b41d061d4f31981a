// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ClipSaveDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

ClipSaveDialog::ClipSaveDialog(QWidget* parent, const QString& folder, const QString& name, const QString& snapNote)
    : QDialog(parent), m_folder(new QLineEdit(folder, this)), m_name(new QLineEdit(name, this)),
      m_burnIn(new QCheckBox(QStringLiteral("Burn the date, time and speed into the picture"), this)),
      m_burnInPosition(new QCheckBox(QStringLiteral("... and the position"), this)),
      m_private(new QCheckBox(QStringLiteral("Private: no position anywhere in the clip"), this)),
      m_withoutSound(new QCheckBox(QStringLiteral("... and no sound"), this)),
      m_gpx(new QCheckBox(QStringLiteral("Write the clip's GPS track beside it (GPX)"), this)) {
  setWindowTitle(QStringLiteral("Save clip"));
  auto* choose = new QPushButton(QStringLiteral("Choose..."), this);
  connect(choose, &QPushButton::clicked, this, &ClipSaveDialog::ChooseFolder);
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(m_folder);
  folderRow->addWidget(choose);
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("Folder"), folderRow);
  form->addRow(QStringLiteral("Name"), m_name);
  for (QCheckBox* option : {m_burnIn, m_burnInPosition, m_private, m_withoutSound, m_gpx}) {
    form->addRow(option);
    connect(option, &QCheckBox::toggled, this, &ClipSaveDialog::FollowOptions);
  }
  auto* note = new QLabel(snapNote, this);
  note->setWordWrap(true);
  form->addRow(note);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
  FollowOptions();
}

std::optional<ClipSaveDialog::Choice> ClipSaveDialog::Ask(QWidget* parent, const QString& folder, const QString& name,
                                                          const QString& snapNote) {
  ClipSaveDialog dialog(parent, folder, name, snapNote);
  if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  return dialog.Chosen();
}

ClipSaveDialog::Choice ClipSaveDialog::Chosen() const {
  Choice choice;
  choice.path = QDir(m_folder->text()).filePath(m_name->text());
  choice.burnIn = m_burnIn->isChecked();
  choice.burnInPosition = m_burnInPosition->isEnabled() && m_burnInPosition->isChecked();
  choice.privateClip = m_private->isChecked();
  choice.withoutSound = m_withoutSound->isEnabled() && m_withoutSound->isChecked();
  choice.gpx = m_gpx->isEnabled() && m_gpx->isChecked();
  return choice;
}

void ClipSaveDialog::ChooseFolder() {
  const QString folder =
      QFileDialog::getExistingDirectory(this, QStringLiteral("Folder for the clip"), m_folder->text());
  if (!folder.isEmpty())
    m_folder->setText(folder);
}

// A private clip holds no position, so neither a burned-in one nor a GPX.
void ClipSaveDialog::FollowOptions() {
  const bool privateClip = m_private->isChecked();
  m_burnInPosition->setEnabled(m_burnIn->isChecked() && !privateClip);
  m_withoutSound->setEnabled(privateClip);
  m_gpx->setEnabled(!privateClip);
}
