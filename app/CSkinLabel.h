// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QLabel>

// A static text drawn over the skin: its text cells get their own background
// colour, and the rest of the control is either filled or left transparent so
// that the window's canvas shows through.
class CSkinLabel : public QLabel {
  Q_OBJECT

public:
  explicit CSkinLabel(QWidget* parent = nullptr);

  // Invalid colours fall back to the palette's text colour, no text
  // background and, for the fill, a transparent control.
  void SetColours(const QColor& text, const QColor& textBackground, const QColor& fill = QColor());

  QColor TextColour() const { return m_text; }
  QColor TextBackground() const { return m_textBackground; }
  QColor FillColour() const { return m_fill; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QColor m_text;
  QColor m_textBackground;
  QColor m_fill;
};
