// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/FolderBrowser.h"

#include <QDir>
#include <QFileDialog>

std::optional<QString> FolderBrowser::Browse(QWidget* owner, const QString& title, const QString& startFolder) {
  const QString folder = QFileDialog::getExistingDirectory(owner, title, startFolder, QFileDialog::ShowDirsOnly);
  if (folder.isEmpty())
    return std::nullopt;
  return QDir::toNativeSeparators(folder);
}
