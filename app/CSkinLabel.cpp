// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CSkinLabel.h"

#include <QPainter>

CSkinLabel::CSkinLabel(QWidget* parent) : QLabel(parent) {}

void CSkinLabel::SetColours(const QColor& text, const QColor& textBackground, const QColor& fill) {
  m_text = text;
  m_textBackground = textBackground;
  m_fill = fill;
  update();
}

void CSkinLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (m_fill.isValid())
    painter.fillRect(rect(), m_fill);
  const QRect textRect = painter.boundingRect(contentsRect(), int(alignment()), text()) & contentsRect();
  if (m_textBackground.isValid())
    painter.fillRect(textRect, m_textBackground);
  painter.setPen(m_text.isValid() ? m_text : palette().color(foregroundRole()));
  painter.drawText(contentsRect(), int(alignment()), text());
}
