// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A push button drawn entirely from skin pictures: normal, pressed, focused
// and disabled looks. A look without its own picture uses the normal one.
class CBitmapButton : public QAbstractButton {
  Q_OBJECT

public:
  explicit CBitmapButton(QWidget* parent = nullptr);

  // Loads the looks from the skin by resource number; 0 means "use the normal
  // look". Returns false when the normal picture is not in the skin.
  bool LoadBitmaps(int normal, int pressed = 0, int focus = 0, int disabled = 0);

  // Sizes the button to its normal picture.
  void SizeToContent();

  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  enum Look { kNormal, kPressed, kFocus, kDisabled, kLookCount };

  Look currentLook() const;
  QPixmap lookPixmap(Look look) const;

  int m_ids[kLookCount] = {};
};
