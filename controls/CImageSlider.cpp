// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/CImageSlider.h"

#include "controls/CMemDC.h"
#include "controls/SkinLibrary.h"
#include "platform/WindowMessage.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// The new position and scroll code of a key the slider handles itself; the
// trackbar's Up and Down arrows move like Left and Right.
struct KeyMove {
  bool handled;
  qint64 position;
  int code;
};

KeyMove keyMove(int key, qint64 cur, qint64 min, qint64 max, qint64 line, qint64 page) {
  switch (key) {
  case Qt::Key_PageUp:
    return {true, std::max(min, cur - page), CImageSlider::SB_PAGELEFT};
  case Qt::Key_PageDown:
    return {true, std::min(max + 1, cur + page), CImageSlider::SB_PAGERIGHT};
  case Qt::Key_End:
    return {true, max + 1, CImageSlider::SB_RIGHT};
  case Qt::Key_Home:
    return {true, min, CImageSlider::SB_LEFT};
  case Qt::Key_Left:
  case Qt::Key_Up:
    return {true, std::max(min, cur - line), CImageSlider::SB_LINELEFT};
  case Qt::Key_Right:
  case Qt::Key_Down:
    return {true, std::min(max + 1, cur + line), CImageSlider::SB_LINERIGHT};
  default:
    return {false, cur, 0};
  }
}

bool isSliderKey(int key) { return keyMove(key, 0, 0, 0, 0, 0).handled; }

int limitToInt(qint64 value) { return int(std::clamp<qint64>(value, INT32_MIN, INT32_MAX)); }

} // namespace

CImageSlider::CImageSlider(QWidget* parent) : QAbstractSlider(parent) {
  setOrientation(Qt::Horizontal);
  setFocusPolicy(Qt::StrongFocus);
  setSingleStep(1);
  setPageStep(10);
}

void CImageSlider::SetBitmaps(int channelId, int thumbId, int dragThumbId, int focusThumbId, int margin) {
  m_channelId = channelId;
  m_thumbId = thumbId;
  m_thumbDragId = dragThumbId ? dragThumbId : thumbId;
  m_thumbFocusId = focusThumbId ? focusThumbId : thumbId;
  const QSize thumbSize = SkinLibrary::size(thumbId);
  m_nThumbWidth = thumbSize.width();
  m_nThumbHeight = thumbSize.height();
  m_nMargin = margin;
  m_nThumbX = margin;
  placeThumbVertically();
  // With a channel every pixel is painted, so nothing needs erasing first.
  setAttribute(Qt::WA_OpaquePaintEvent, channelId != 0);
  update();
}

bool CImageSlider::event(QEvent* event) {
  if (event->type() != platform::WindowMessageEvent::kType)
    return QAbstractSlider::event(event);
  auto* message = static_cast<platform::WindowMessageEvent*>(event);
  if (!handleWindowMessage(message->message(), message->lParam()))
    return QAbstractSlider::event(event);
  message->setResult(0);
  return true;
}

bool CImageSlider::handleWindowMessage(uint32_t message, intptr_t lParam) {
  const int value = limitToInt(lParam);
  switch (message) {
  case platform::kMsgTbmSetRangeMin:
    setMinimum(value);
    return true;
  case platform::kMsgTbmSetRangeMax:
    setMaximum(value);
    return true;
  case platform::kMsgTbmSetPos:
    setValue(value);
    return true;
  default:
    return false;
  }
}

void CImageSlider::paintEvent(QPaintEvent* event) {
  QPainter target(this);
  CMemDC memDC(target, event->rect());
  QPainter& dc = memDC.painter();
  const qreal ratio = devicePixelRatioF();
  if (m_channelId)
    dc.drawPixmap(0, 0, SkinLibrary::pixmap(m_channelId, size(), ratio));
  m_nThumbX = m_nMargin + thumbOffset(value());
  if (m_thumbId)
    dc.drawPixmap(m_nThumbX, m_nThumbY, SkinLibrary::pixmap(currentThumbId(), ratio));
}

// The channel is the same under every position: a new value repaints the
// thumb's old and new places, and nothing while the thumb stays on its pixel.
void CImageSlider::sliderChange(SliderChange change) {
  if (change != SliderValueChange || !m_thumbId) {
    QAbstractSlider::sliderChange(change);
    return;
  }
  const int x = m_nMargin + thumbOffset(value());
  if (x == m_nThumbX)
    return;
  const QSize thumb(m_nThumbWidth, m_nThumbHeight);
  update(QRect(QPoint(m_nThumbX, m_nThumbY), thumb) | QRect(QPoint(x, m_nThumbY), thumb));
}

int CImageSlider::travelSpan() const { return width() - 2 * m_nMargin - m_nThumbWidth; }

int CImageSlider::thumbOffset(int position) const {
  const int span = travelSpan();
  if (span <= 0)
    return 0;
  const double share = double(span) / (qint64(maximum()) - minimum() + 1);
  return int(position * share - minimum() * share);
}

bool CImageSlider::SetPosFromPoint(int x) {
  const int span = travelSpan();
  // Without travel there is no position under the mouse.
  if (span <= 0)
    return false;
  const qint64 min = minimum();
  const qint64 max = maximum();
  const double offset = x - m_nThumbWidth / 2 - m_nMargin;
  const double step = std::trunc(double(max + 1 - min) / span * offset);
  const qint64 wanted = std::clamp<double>(double(min) + step, double(min), double(max + 1));
  if (wanted == value())
    return false;
  // Past the right end the wanted max + 1 is stored as max, yet still counts as
  // a change, so a drag there keeps reporting.
  setValue(limitToInt(wanted));
  return true;
}

int CImageSlider::currentThumbId() const {
  if (m_bDragging)
    return m_thumbDragId;
  return hasFocus() ? m_thumbFocusId : m_thumbId;
}

void CImageSlider::placeThumbVertically() { m_nThumbY = height() / 2 - m_nThumbHeight / 2; }

void CImageSlider::redraw() { repaint(); }

void CImageSlider::post(int code) {
  if (!parentWidget())
    return;
  const int position = value();
  QMetaObject::invokeMethod(
      this, [this, code, position] { emit scrolled(code, position); }, Qt::QueuedConnection);
}

void CImageSlider::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  // Still dragging means the release went elsewhere (a popup took the mouse):
  // finish that drag so that its final position is still reported.
  if (m_bDragging)
    finishDrag();
  m_bDragging = true;
  m_bMoved = false;
  setFocus(Qt::MouseFocusReason);
  if (SetPosFromPoint(int(std::floor(event->position().x())))) {
    m_bMoved = true;
    post(SB_THUMBTRACK);
  }
  redraw();
}

void CImageSlider::mouseMoveEvent(QMouseEvent* event) {
  if (!m_bDragging) {
    QWidget::mouseMoveEvent(event);
    return;
  }
  if (SetPosFromPoint(int(std::floor(event->position().x())))) {
    m_bMoved = true;
    post(SB_THUMBTRACK);
    redraw();
  }
}

void CImageSlider::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_bDragging) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  if (SetPosFromPoint(int(std::floor(event->position().x())))) {
    post(SB_THUMBTRACK);
    m_bMoved = true;
  }
  finishDrag();
  redraw();
}

void CImageSlider::finishDrag() {
  m_bDragging = false;
  if (m_bMoved) {
    post(SB_THUMBPOSITION);
    m_bMoved = false;
  }
}

void CImageSlider::keyPressEvent(QKeyEvent* event) {
  const KeyMove move = keyMove(event->key(), value(), minimum(), maximum(), singleStep(), pageStep());
  if (!move.handled) {
    QWidget::keyPressEvent(event);
    return;
  }
  setValue(limitToInt(move.position));
  redraw();
  post(move.code);
}

void CImageSlider::keyReleaseEvent(QKeyEvent* event) {
  if (!isSliderKey(event->key())) {
    QWidget::keyReleaseEvent(event);
    return;
  }
  // Auto-repeat delivers release and press pairs; only the real release ends.
  if (!event->isAutoRepeat())
    post(SB_ENDSCROLL);
}

void CImageSlider::wheelEvent(QWheelEvent* event) {
  // The wheel is left to the parent: it would move the slider without a report.
  event->ignore();
}

void CImageSlider::resizeEvent(QResizeEvent* event) {
  QAbstractSlider::resizeEvent(event);
  placeThumbVertically();
}
