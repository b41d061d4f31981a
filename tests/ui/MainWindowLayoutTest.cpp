// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowFixture.h"

#include "app/CSkinLabel.h"
#include "app/MainWindowLayout.h"
#include "controls/SkinLibrary.h"
#include "dialogs/DialogUnits.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <set>
#include <vector>

class LayoutTest : public MainWindowFixture {
protected:
  // The window's shown controls (their object names are their ids).
  std::vector<QWidget*> Controls() {
    std::vector<QWidget*> shown;
    for (QWidget* child : Window().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      bool numbered = false;
      child->objectName().toInt(&numbered);
      if (numbered && child->isVisible())
        shown.push_back(child);
    }
    return shown;
  }
};

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

// Places written out as literals, so that a wrong entry in the
// window's own tables shows here.
TEST_F(LayoutTest, ControlsSitAtTheirDesignedPlaces) {
  const std::pair<ControlId, QRect> designed[] = {
      {IDC_POSITION_SLIDER, QRect(18, 610, 638, 12)},
      {IDC_VOLUME_SLIDER, QRect(454, 635, 69, 14)},
      {IDC_MAP, QRect(673, 502, 316, 268)},
      {IDC_RECORDING_LIST, QRect(678, 169, 300, 316)},
      {IDC_OPEN, QRect(920, 121, 60, 20)},
      {IDC_EXIT, QRect(968, 26, 16, 16)},
      {IDC_SLOWER, QRect(202, 624, 52, 23)},
      {IDC_TOTAL_TIME, QRect(624, 594, 54, 14)},
  };
  for (const auto& [id, rect] : designed)
    EXPECT_EQ(Item(id)->geometry(), rect) << "control " << id;
}

// Only the designed controls show; hidden and disabled ones stay present,
// so the command map binds them all.
TEST_F(LayoutTest, OnlyTheDesignedControlsAreShown) {
  const std::set<int> designed = {IDC_POSITION_SLIDER,
                                  IDC_BRIGHTNESS_SLIDER,
                                  IDC_VOLUME_SLIDER,
                                  IDC_PLAY,
                                  IDC_PAUSE,
                                  IDC_STOP,
                                  IDC_SLOWER,
                                  IDC_FASTER,
                                  IDC_MAP,
                                  IDC_RECORDING_LIST,
                                  IDC_OPEN,
                                  IDC_FOLDER_TEXT,
                                  IDC_EXIT,
                                  IDC_PRINT,
                                  IDC_SNAP,
                                  IDC_INFO,
                                  IDC_PLAYED_TIME,
                                  IDC_TOTAL_TIME,
                                  IDC_VERSION,
                                  IDC_SPEED};
  std::set<int> shown;
  for (QWidget* control : Controls())
    shown.insert(control->objectName().toInt());
  EXPECT_EQ(shown, designed);
  for (ControlId id : {IDC_SAVE, IDC_SETUP, IDC_TIME_SET, IDC_COURSE, IDC_RUN})
    EXPECT_NE(Item(id), nullptr) << "control " << id;
  for (ControlId id : {IDC_SOFT_KILL, IDC_FORCE_FLIP, IDC_BUTTON3})
    EXPECT_FALSE(Item(id)->isEnabled()) << "control " << id;
}

// The total play time reaches 5 pixels into the map by design; no other
// shown controls overlap, and all lie inside the window.
TEST_F(LayoutTest, ShownControlsFitTheWindowAndOverlapOnlyByDesign) {
  const QRect window(0, 0, 1010, 790);
  const std::vector<QWidget*> shown = Controls();
  for (size_t i = 0; i < shown.size(); ++i) {
    const QRect place = shown[i]->geometry();
    EXPECT_TRUE(window.contains(place)) << "control " << shown[i]->objectName().toStdString();
    for (size_t j = i + 1; j < shown.size(); ++j) {
      const std::set<int> pair = {shown[i]->objectName().toInt(), shown[j]->objectName().toInt()};
      const bool designed = pair == std::set<int>{IDC_TOTAL_TIME, IDC_MAP};
      EXPECT_EQ(place.intersects(shown[j]->geometry()), designed)
          << "controls " << *pair.begin() << " and " << *pair.rbegin();
    }
  }
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

// A camera's lines (name, size, kind) read whole in the list's width, so no
// sideways scroll bar, which would not show the skin's colours either.
TEST_F(LayoutTest, RecordingLinesFitTheListWidth) {
  QTemporaryDir card;
  ASSERT_TRUE(QDir(card.path()).mkpath("EventMovie") && QDir(card.path()).mkpath("NormalMovie"));
  for (const char* path : {"EventMovie/drf0_20260614_093200.mp4", "NormalMovie/drf0_20260614_093100.mp4"}) {
    QFile file(card.filePath(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(999 * 1024 * 1024));
  }
  auto* list = static_cast<QListWidget*>(Item(IDC_RECORDING_LIST));
  for (const char* folder : {"EventMovie", "NormalMovie"}) {
    Window().OpenRecordingFolder(QDir::toNativeSeparators(card.filePath(folder)));
    QCoreApplication::processEvents();
    EXPECT_LE(Window().Recordings().HorizontalExtent(), list->viewport()->width()) << folder;
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible()) << folder;
  }
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
