// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CQIRA02App.h"
#include "app/OpenRequest.h"
#include "app/StartCommandLine.h"

#include <QApplication>
#include <QStringList>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

bool displayAvailable() {
  return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("QT_QPA_PLATFORM");
}

// What to open at start: the folder or recording named, or nothing when none
// was named or it cannot be opened (the window starts without it).
OpenRequest startRequest(const QStringList& paths) {
  if (paths.isEmpty())
    return OpenRequest();
  const OpenRequest request = OpenRequest::FromPath(paths.first());
  if (request.IsRefused()) {
    std::fprintf(stderr, "lumenark: %s\n", qPrintable(request.Refusal()));
    return OpenRequest();
  }
  return request;
}

QStringList givenArguments(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i)
    arguments.append(QString::fromLocal8Bit(argv[i]));
  return arguments;
}

} // namespace

int main(int argc, char** argv) {
  StartCommandLine commandLine;
  if (commandLine.AnswersInformation(givenArguments(argc, argv)))
    return 0;
  if (!displayAvailable()) {
    std::fprintf(stderr, "lumenark: no display; try: xvfb-run -a make run\n");
    return 1;
  }
  // The map's web view shares the window's graphics context.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  // QApplication took the user's locale for the C library too; numbers in
  // command texts and files must keep their point (and libmpv will not start
  // otherwise). Qt still shows the user's locale.
  std::setlocale(LC_NUMERIC, "C");
  const std::optional<QStringList> paths = commandLine.StartPaths(QApplication::arguments());
  if (!paths)
    return 2;
  const OpenRequest request = startRequest(*paths);
  CQIRA02App app;
  app.m_strStartFolder = request.Folder();
  app.m_strStartRecording = request.Recording();
  app.InitInstance();
  return 0;
}
