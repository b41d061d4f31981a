// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/CBitmapButton.h"

#include "controls/SkinLibrary.h"

#include <QPainter>

CBitmapButton::CBitmapButton(QWidget* parent) : QAbstractButton(parent) { setFocusPolicy(Qt::StrongFocus); }

bool CBitmapButton::LoadBitmaps(int normal, int pressed, int focus, int disabled) {
  m_ids[kNormal] = normal;
  m_ids[kPressed] = pressed;
  m_ids[kFocus] = focus;
  m_ids[kDisabled] = disabled;
  update();
  return SkinLibrary::contains(normal);
}

void CBitmapButton::SizeToContent() { resize(sizeHint()); }

QSize CBitmapButton::sizeHint() const {
  const QSize size = SkinLibrary::size(m_ids[kNormal]);
  return size.isEmpty() ? QSize(16, 16) : size;
}

void CBitmapButton::paintEvent(QPaintEvent*) {
  const QPixmap pixmap = lookPixmap(currentLook());
  if (pixmap.isNull())
    return;
  QPainter painter(this);
  painter.drawPixmap(rect(), pixmap);
}

CBitmapButton::Look CBitmapButton::currentLook() const {
  if (isDown())
    return kPressed;
  if (!isEnabled())
    return kDisabled;
  if (hasFocus())
    return kFocus;
  return kNormal;
}

QPixmap CBitmapButton::lookPixmap(Look look) const {
  const int id = m_ids[look] ? m_ids[look] : m_ids[kNormal];
  return SkinLibrary::pixmap(id, size(), devicePixelRatioF());
}
