// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FontWarmUp.h"

#include <QFont>
#include <QFontMetrics>
#include <QtConcurrent/QtConcurrentRun>

namespace {

// The window's own face: what its first picture's labels are drawn in.
void findWindowFont() { QFontMetrics(QFont()).height(); }

} // namespace

FontWarmUp::FontWarmUp() : m_done(QtConcurrent::run(&findWindowFont)) {}

FontWarmUp::~FontWarmUp() { m_done.waitForFinished(); }
