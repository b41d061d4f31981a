// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartCommandLine.h"

#include "LumenarkVersion.h"

#include <cstdio>

namespace {

// Its first line is the usage line the viewer has always printed.
constexpr char kHelp[] = R"(usage: lumenark [FOLDER | RECORDING.mp4]
       lumenark --help | --version
Lists a dash camera's recordings and plays them with their telemetry.

  FOLDER          list this folder's recordings at start
  RECORDING.mp4   list the recording's folder and open the recording

Options:
  -h, --help      show this help and exit
  -v, --version   show the version and exit
)";

} // namespace

StartCommandLine::StartCommandLine()
    : m_help(QStringList{QStringLiteral("h"), QStringLiteral("help")}),
      m_version(QStringList{QStringLiteral("v"), QStringLiteral("version")}) {
  // Qt's one-dash options are words: -reverse is not -r -e -v ...
  m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  m_parser.addOption(m_help);
  m_parser.addOption(m_version);
}

bool StartCommandLine::AnswersInformation(const QStringList& arguments) {
  m_parser.parse(arguments);
  if (!m_parser.isSet(m_help) && !m_parser.isSet(m_version))
    return false;
  std::fputs(m_parser.isSet(m_help) ? kHelp : kVersionLine, stdout);
  return true;
}

std::optional<QStringList> StartCommandLine::StartPaths(const QStringList& arguments) {
  const bool parsed = m_parser.parse(arguments);
  if (parsed && m_parser.positionalArguments().size() <= 1)
    return m_parser.positionalArguments();
  if (!parsed)
    std::fprintf(stderr, "lumenark: %s\n", qPrintable(m_parser.errorText()));
  std::fputs(kHelp, stderr);
  return std::nullopt;
}
