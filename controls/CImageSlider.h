// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractSlider>
#include <cstdint>

// Horizontal slider drawn from skin pictures: a channel stretched over the
// whole control and a thumb in three looks (normal, focused, dragged). The
// base class keeps range, position, line and page size. Changes are reported
// to the parent with scrolled(), posted so that the handler runs after the
// slider's own event and reads the position of that time. The engine moves
// the position slider with trackbar window messages.
class CImageSlider : public QAbstractSlider {
  Q_OBJECT

public:
  // Scroll codes carried by scrolled().
  enum ScrollCode : int {
    SB_LINELEFT = 0,
    SB_LINERIGHT = 1,
    SB_PAGELEFT = 2,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_LEFT = 6,
    SB_RIGHT = 7,
    SB_ENDSCROLL = 8,
  };

  explicit CImageSlider(QWidget* parent = nullptr);

  // Loads channel and thumbs from the skin by resource number; a drag or focus
  // number of 0 uses the normal thumb. Sets the thumb's travel margin.
  void SetBitmaps(int channelId, int thumbId, int dragThumbId, int focusThumbId, int margin);

  // Trackbar-style range and position, as the owner uses them; the position
  // is kept within the range.
  void SetRange(int min, int max) { setRange(min, max); }
  void SetPos(int position) { setValue(position); }
  int GetPos() const { return value(); }

  // Thumb's top-left corner as last drawn.
  QPoint thumbPos() const { return QPoint(m_nThumbX, m_nThumbY); }
  bool isDragging() const { return m_bDragging; }

signals:
  // Posted, never sent: code is a ScrollCode, position the one at posting time.
  void scrolled(int code, int position);

protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void sliderChange(SliderChange change) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  bool handleWindowMessage(uint32_t message, intptr_t lParam);
  int travelSpan() const;
  int thumbOffset(int position) const;
  bool SetPosFromPoint(int x);
  int currentThumbId() const;
  void placeThumbVertically();
  void finishDrag();
  void redraw();
  void post(int code);

  int m_nMargin = 0;
  int m_nThumbWidth = 0;
  int m_nThumbHeight = 0;
  int m_channelId = 0;
  int m_thumbFocusId = 0;
  int m_thumbDragId = 0;
  int m_thumbId = 0;
  int m_nThumbX = 0;
  int m_nThumbY = 0;
  bool m_bMoved = false;
  bool m_bDragging = false;
};
