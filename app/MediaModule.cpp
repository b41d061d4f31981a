// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MediaModule.h"

#include "platform/Diagnostics.h"
#include "platform/ModulePath.h"

#include <QLibrary>
#include <QMessageBox>

const MediaFunctions* MediaModule::Functions(QWidget* window, const char* module) {
  QLibrary library(QString::fromStdString(platform::resolveModulePath(module)));
  library.setLoadHints(QLibrary::PreventUnloadHint);
  if (const auto functions = reinterpret_cast<MediaFunctionsFn>(library.resolve(kMediaFunctionsSymbol)))
    return functions();
  platform::diagnostic("failed to load %s: %s\n", module, qPrintable(library.errorString()));
  QMessageBox(QMessageBox::Warning, QStringLiteral("Lumenark"),
              QStringLiteral("Clips and repairs need FFmpeg's libraries, which could not be loaded."), QMessageBox::Ok,
              window)
      .exec();
  return nullptr;
}
