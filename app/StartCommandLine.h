// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <optional>

// The viewer's command line: `lumenark [FOLDER | RECORDING.mp4]`, or --help
// or --version, which are answered before anything needs a display.
class StartCommandLine {
public:
  StartCommandLine();

  // Answers --help or --version on standard output. Qt's own options
  // (-platform, -style ...) are still among the arguments as given, so
  // nothing else is judged yet.
  bool AnswersInformation(const QStringList& arguments);
  // Once the application object has taken Qt's options: the folder or
  // recording named, if any; nothing, with the usage on standard error, for
  // an unknown option or more than one path.
  std::optional<QStringList> StartPaths(const QStringList& arguments);

private:
  QCommandLineParser m_parser;
  QCommandLineOption m_help;
  QCommandLineOption m_version;
};
