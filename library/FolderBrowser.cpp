// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/FolderBrowser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

QString existingFolderOrHome(const QString& folder) {
  return QDir::isAbsolutePath(folder) && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

} // namespace

std::optional<QString> FolderBrowser::Browse(QWidget* owner, const QString& title, const QString& startFolder) {
  const QString folder =
      QFileDialog::getExistingDirectory(owner, title, existingFolderOrHome(startFolder), QFileDialog::ShowDirsOnly);
  if (folder.isEmpty())
    return std::nullopt;
  return QDir::toNativeSeparators(folder);
}
