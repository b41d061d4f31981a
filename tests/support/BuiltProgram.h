// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace testing_support {

// Runs one of the build's programs (bin folder) to its end; its standard
// output, or nothing when it could not run or exited non-zero. Through
// std::system, not QProcess: Qt starts children with a raw vfork-style clone
// that ThreadSanitizer does not follow, and it then misses this thread's locks.
std::optional<QByteArray> runBuiltProgram(const QString& name, const QStringList& arguments);

} // namespace testing_support
