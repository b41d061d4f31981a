// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowFixture.h"

#include "app/CSkinLabel.h"
#include "app/MainWindowLayout.h"
#include "controls/SkinLibrary.h"
#include "dialogs/DialogUnits.h"

#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScreen>

using LayoutTest = MainWindowFixture;

TEST_F(LayoutTest, WindowIsFramelessFixedSizeWithItsTitle) {
  EXPECT_EQ(Window().size(), QSize(1010, 790));
  EXPECT_EQ(Window().minimumSize(), Window().maximumSize());
  EXPECT_TRUE(Window().windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(Window().windowTitle(), QStringLiteral("Didedeve  Lumenark"));
  EXPECT_FALSE(Window().windowIcon().isNull());
}

// The template-sized client area is centred in the full-screen area and moved
// 60 pixels up; a screen too small for that keeps the corner on the screen.
TEST_F(LayoutTest, WindowIsPlacedFromTheTemplateSize) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const int x = (screen.width() - kMainTemplateUnits.toPixelsX(layout::kTemplateWidthUnits)) / 2;
  const int y = (screen.height() - kMainTemplateUnits.toPixelsY(layout::kTemplateHeightUnits) - 120) / 2;
  EXPECT_EQ(Window().pos(), screen.topLeft() + QPoint(std::max(0, x), std::max(0, y)));
}

TEST_F(LayoutTest, EveryControlSitsAtItsRuntimePlace) {
  for (const layout::Place& place : layout::kRuntimeLayout)
    EXPECT_EQ(Item(place.id)->geometry(), place.rect) << "control " << place.id;
  for (const layout::Place& place : layout::kTextPlaces)
    EXPECT_EQ(Item(place.id)->geometry(), place.rect) << "control " << place.id;
  for (const layout::SliderSkin& skin : layout::kSliderSkins)
    EXPECT_EQ(Item(skin.id)->geometry(), skin.rect) << "slider " << skin.id;
}

// Hidden and disabled controls stay present, so the map binds them all.
TEST_F(LayoutTest, TemplateControlsKeepTheirVisibilityAndState) {
  for (const layout::TemplateControl& control : layout::kTemplate) {
    QWidget* widget = Item(control.id);
    ASSERT_NE(widget, nullptr) << "control " << control.id;
    EXPECT_EQ(widget->isVisible(), control.visible) << "control " << control.id;
    EXPECT_EQ(widget->isEnabled(), control.enabled) << "control " << control.id;
  }
  EXPECT_FALSE(Item(IDC_TIME_SET)->isVisible());
}

// Bitmap buttons are sized to their pictures, hidden ones included.
TEST_F(LayoutTest, BitmapButtonsTakeTheirPictureSize) {
  for (const layout::ButtonSkin& skin : layout::kButtonSkins)
    EXPECT_EQ(Item(skin.id)->size(), SkinLibrary::size(skin.normal)) << "button " << skin.id;
}

TEST_F(LayoutTest, TenTooltipsOnTheirButtons) {
  int withTooltip = 0;
  for (QWidget* child : Window().findChildren<QWidget*>())
    withTooltip += child->toolTip().isEmpty() ? 0 : 1;
  EXPECT_EQ(withTooltip, 10);
  for (const layout::Tooltip& tooltip : layout::kTooltips)
    EXPECT_EQ(Item(tooltip.id)->toolTip(), QString::fromUtf8(tooltip.text));
  EXPECT_EQ(Item(IDC_INFO)->toolTip(), QStringLiteral("Infomation"));
}

TEST_F(LayoutTest, VersionAndSpeedTexts) {
  EXPECT_EQ(static_cast<QLabel*>(Item(IDC_VERSION))->text(), QStringLiteral("Ver 1.05"));
  EXPECT_EQ(static_cast<QLabel*>(Item(IDC_SPEED))->text(), QStringLiteral("x1"));
}

TEST_F(LayoutTest, SlidersHaveTheirRangesStartPositionsAndSteps) {
  struct Expected {
    ControlId id;
    int min, max, position;
  };
  // Brightness starts at 0, which the slider shows at its minimum.
  for (const Expected& e : {Expected{IDC_POSITION_SLIDER, 0, 100, 0}, Expected{IDC_BRIGHTNESS_SLIDER, 1, 10, 1},
                            Expected{IDC_VOLUME_SLIDER, 1, 20, 10}}) {
    CImageSlider* slider = Slider(e.id);
    EXPECT_EQ(slider->minimum(), e.min) << e.id;
    EXPECT_EQ(slider->maximum(), e.max) << e.id;
    EXPECT_EQ(slider->GetPos(), e.position) << e.id;
    EXPECT_EQ(slider->singleStep(), 1) << e.id;
    EXPECT_EQ(slider->pageStep(), 10) << e.id;
  }
}

TEST_F(LayoutTest, SystemMenuEndsWithSeparatorAndAboutEntry) {
  const QList<QAction*> actions = Window().SystemMenu()->actions();
  ASSERT_GE(actions.size(), 2);
  EXPECT_TRUE(actions[actions.size() - 2]->isSeparator());
  EXPECT_EQ(actions.last()->text(), QString::fromUtf8("QIRA02 정보(&A)..."));
}

TEST_F(LayoutTest, ControlColoursFollowTheColourTable) {
  const auto label = [this](ControlId id) { return static_cast<CSkinLabel*>(Item(id)); };
  EXPECT_EQ(label(IDC_FOLDER_TEXT)->FillColour(), QColor(0, 0, 0));
  EXPECT_EQ(label(IDC_FOLDER_TEXT)->TextColour(), QColor(255, 255, 255));
  EXPECT_EQ(label(IDC_VERSION)->TextBackground(), QColor(15, 20, 30));
  EXPECT_FALSE(label(IDC_VERSION)->FillColour().isValid());
  for (ControlId id : {IDC_PLAYED_TIME, IDC_TOTAL_TIME}) {
    EXPECT_EQ(label(id)->TextColour(), QColor(255, 255, 255));
    EXPECT_EQ(label(id)->TextBackground(), QColor(65, 65, 65));
    EXPECT_FALSE(label(id)->FillColour().isValid()) << "the canvas must show around the text";
  }
  auto* list = static_cast<QListWidget*>(Item(IDC_RECORDING_LIST));
  list->addItem(QStringLiteral("drf0_20090108_134109.mp4"));
  const QImage picture = list->grab().toImage();
  EXPECT_EQ(picture.pixelColor(list->width() / 2, list->height() - 8), QColor(0, 0, 0));
}

// Every child leaves the cursor to the window, which shows the arrow.
TEST_F(LayoutTest, ArrowCursorEverywhere) {
  EXPECT_EQ(Window().cursor().shape(), Qt::ArrowCursor);
  for (QWidget* child : Window().findChildren<QWidget*>()) {
    if (child->window() == &Window()) {
      EXPECT_EQ(child->cursor().shape(), Qt::ArrowCursor) << child->objectName().toStdString();
    }
  }
}
