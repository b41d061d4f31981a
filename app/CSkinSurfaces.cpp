// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CSkinSurfaces.h"

#include "app/MainWindowLayout.h"
#include "controls/SkinLibrary.h"
#include "platform/ModulePath.h"

#include <QtConcurrent/QtConcurrentRun>

namespace {

// The build's drawings of the skin lie beside the program (app/CMakeLists.txt).
void useSkinDrawnAhead() {
  static const bool used = SkinLibrary::useDrawnAhead(QString::fromStdString(platform::executableDir()) +
                                                      QStringLiteral("/lumenark-skin.rcc"));
  Q_UNUSED(used);
}

// Drawn on with ordinary painters: a plain 32-bit format.
QImage surface(int id, qreal devicePixelRatio) {
  return SkinLibrary::image(id, devicePixelRatio).convertToFormat(QImage::Format_RGB32);
}

} // namespace

CSkinSurfaces::Pictures CSkinSurfaces::Draw(qreal devicePixelRatio) {
  Pictures pictures;
  pictures.background = surface(layout::kBackgroundBitmap, devicePixelRatio);
  for (int i = 0; i < kDecorationCount; ++i)
    pictures.decorations[i] = surface(layout::kDecorationBitmaps[i], devicePixelRatio);
  for (int digit = 0; digit < kDigitCount; ++digit)
    pictures.digits[digit] = surface(layout::kFirstDigitBitmap + digit, devicePixelRatio);
  pictures.digitDash = surface(SkinLibrary::kDigitDash, devicePixelRatio);
  for (int i = 0; i < kMarkCount; ++i)
    pictures.marks[i] = surface(layout::kMarkBitmaps[i], devicePixelRatio);
  return pictures;
}

CSkinSurfaces::CSkinSurfaces(qreal devicePixelRatio) : m_loadingRatio(devicePixelRatio) {
  useSkinDrawnAhead();
  m_loading = QtConcurrent::run(&CSkinSurfaces::Draw, devicePixelRatio);
}

void CSkinSurfaces::Load(qreal devicePixelRatio) {
  const bool started = m_loading.isValid() && qFuzzyCompare(m_loadingRatio, devicePixelRatio);
  Pictures pictures = started ? m_loading.result() : Draw(devicePixelRatio);
  m_loading = QFuture<Pictures>();
  m_background = std::move(pictures.background);
  m_canvas = m_background.copy();
  m_decorations = std::move(pictures.decorations);
  m_digits = std::move(pictures.digits);
  m_digitDash = std::move(pictures.digitDash);
  m_marks = std::move(pictures.marks);
}

QRectF CSkinSurfaces::CanvasSource(const QRect& windowRect) const {
  const qreal ratio = m_canvas.devicePixelRatio();
  return QRectF(QPointF(windowRect.topLeft()) * ratio, QSizeF(windowRect.size()) * ratio);
}
