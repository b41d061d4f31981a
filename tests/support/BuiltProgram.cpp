// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/BuiltProgram.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryFile>
#include <cstdlib>

namespace testing_support {

namespace {

std::string shellQuoted(const QString& word) {
  std::string quoted = "'";
  for (const char c : word.toStdString())
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

} // namespace

std::optional<QByteArray> runBuiltProgram(const QString& name, const QStringList& arguments) {
  QTemporaryFile output;
  if (!output.open())
    return std::nullopt;
  std::string command = shellQuoted(QCoreApplication::applicationDirPath() + QLatin1Char('/') + name);
  for (const QString& argument : arguments)
    command += ' ' + shellQuoted(argument);
  command += " >" + shellQuoted(output.fileName());
  if (std::system(command.c_str()) != 0)
    return std::nullopt;
  return output.readAll();
}

} // namespace testing_support
