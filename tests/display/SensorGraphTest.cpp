// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/SensorGraph.h"
#include "display/GraphFont.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <clocale>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const QRgb kXColour = qRgb(255, 0, 110);
const QRgb kYColour = qRgb(135, 255, 0);
const QRgb kZColour = qRgb(0, 255, 255);

QImage surface(QRgb colour) {
  QImage image(1010, 790, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

class SensorGraphTest : public testing::Test {
protected:
  // One notification: the graph's step, then the sample counted.
  QRect Notify(const SensorTriple* values) {
    const QRect changed = graph.Step(canvas, values);
    graph.CountSample();
    return changed;
  }
  QImage background = surface(qRgb(20, 20, 20));
  QImage canvas = surface(qRgb(90, 90, 90));
  SensorGraph graph{background};
};

} // namespace

TEST(SensorGraphHeights, TwentyNinePixelsPerUnitAndTheCentreAboveThePanel) {
  EXPECT_EQ(SensorGraph::TraceY(0.5f), 697); // 697.5 truncated
  EXPECT_EQ(SensorGraph::TraceY(-1.0f), 741);
  EXPECT_EQ(SensorGraph::TraceY(2.0f), 712);  // 654 is above the panel
  EXPECT_EQ(SensorGraph::TraceY(1.79f), 660); // 660.09: the top line itself
  EXPECT_EQ(SensorGraph::TraceY(-2.0f), 770);
}

// The first notification draws from the start point (101, 711) to x 79,
// then restarts the sweep at x 78 keeping each trace's height.
TEST_F(SensorGraphTest, FirstNotificationDrawsFromTheStartPointAndRestarts) {
  const SensorTriple values{0.5f, -1.0f, 2.0f};
  Notify(&values);
  EXPECT_EQ(canvas.pixel(79, 741), kXColour);
  EXPECT_EQ(canvas.pixel(79, 697), kYColour);
  EXPECT_EQ(canvas.pixel(79, 712), kZColour);
  EXPECT_EQ(canvas.pixel(101, 711), kZColour) << "Z is drawn last from the shared start";
  EXPECT_EQ(graph.LastPoint(SensorGraph::kX), QPoint(78, 741));
  EXPECT_EQ(graph.LastPoint(SensorGraph::kY), QPoint(78, 697));
  EXPECT_EQ(graph.LastPoint(SensorGraph::kZ), QPoint(78, 712));
  EXPECT_EQ(graph.HistPoint(SensorGraph::kX, 0), QPoint(78, 741));
  EXPECT_EQ(graph.HistCount(), 1);
  EXPECT_EQ(graph.Sample(), 1);
  EXPECT_EQ(canvas.pixel(400, 665), background.pixel(400, 665)) << "the panel is restored from the background";
  EXPECT_EQ(canvas.pixel(500, 665), qRgb(90, 90, 90)) << "nothing outside the panel";
}

// Six pixels per notification; at x 397 (sample 53) the sweep restarts, so a
// sweep holds at most 54 points.
TEST_F(SensorGraphTest, SweepAdvancesSixPixelsAndRestartsAtItsEnd) {
  const SensorTriple values{0.0f, 1.0f, -1.0f};
  Notify(&values);
  Notify(&values);
  EXPECT_EQ(graph.LastPoint(SensorGraph::kX), QPoint(85, 683));
  for (int i = 2; i < 53; ++i)
    Notify(&values);
  EXPECT_EQ(graph.LastPoint(SensorGraph::kX).x(), 391);
  EXPECT_EQ(graph.HistCount(), 53);
  Notify(&values);
  EXPECT_EQ(graph.Sample(), 1);
  EXPECT_EQ(graph.HistCount(), 1);
  EXPECT_EQ(graph.LastPoint(SensorGraph::kX), QPoint(78, 683));
}

// The panel drawn whole, as each notification once did: the background, the
// texts, then every segment of the sweep in order.
QImage panelDrawnWhole(const QImage& background, const SensorGraph& graph, const SensorTriple& values) {
  QImage image = background.copy();
  QPainter painter(&image);
  painter.setFont(GraphFont::Font());
  const int baseline = 755 + painter.fontMetrics().ascent();
  const QRgb texts[] = {kXColour, kYColour, qRgb(0, 225, 255)};
  const QRgb pens[] = {kXColour, kYColour, kZColour};
  const int lefts[] = {81, 199, 316};
  for (int trace = 0; trace < SensorGraph::kTraceCount; ++trace) {
    painter.setPen(QColor(texts[trace]));
    painter.drawText(lefts[trace], baseline, SensorGraph::ValueText(SensorGraph::Trace(trace), values));
  }
  for (int i = 0; i + 1 < graph.HistCount(); ++i) {
    for (int trace = 0; trace < SensorGraph::kTraceCount; ++trace) {
      painter.setPen(QPen(QColor(pens[trace]), 1));
      painter.drawLine(graph.HistPoint(SensorGraph::Trace(trace), i),
                       graph.HistPoint(SensorGraph::Trace(trace), i + 1));
    }
  }
  return image.copy(SensorGraph::kPanel);
}

bool changedOnlyWithin(const QImage& before, const QImage& after, const QRect& rect) {
  for (int y = 0; y < before.height(); ++y)
    for (int x = 0; x < before.width(); ++x)
      if (before.pixel(x, y) != after.pixel(x, y) && !rect.contains(x, y))
        return false;
  return true;
}

// Each notification adds its segments to the kept traces and copies only what
// changed; the panel must still be the one drawn whole, also where low traces
// cross the texts, after the sweep restarts and after the canvas was drawn
// over, and the part it names as changed must hold every changed pixel.
// Drawn on the plain background, so the texts' earlier values do not linger
// outside the panel.
TEST_F(SensorGraphTest, KeptTracesGiveThePanelDrawnWhole) {
  const std::vector<SensorTriple> sweeps[] = {
      {{0.5f, -1.0f, 0.25f}, {-0.2f, 0.3f, 1.1f}, {1.9f, -1.9f, -2.0f}},
      {{-1.95f, -1.8f, -1.6f}, {-2.0f, -2.0f, -2.0f}, {0.0f, 1.5f, -1.7f}},
  };
  for (const std::vector<SensorTriple>& sweep : sweeps) {
    for (int i = 0; i < 130; ++i) {
      const SensorTriple& values = sweep[size_t(i) % sweep.size()];
      const QImage before = canvas.copy();
      const QRect changed = Notify(&values);
      ASSERT_TRUE(changedOnlyWithin(before, canvas, changed)) << "notification " << i;
      if (graph.HistCount() > 1) {
        ASSERT_TRUE(canvas.copy(SensorGraph::kPanel) == panelDrawnWhole(background, graph, values))
            << "notification " << i;
      }
    }
    canvas.fill(qRgb(90, 90, 90));
    graph.ForgetCanvas();
  }
}

// A value outside -2..+2 (or no values yet) draws nothing, texts included,
// but the sweep still advances.
TEST_F(SensorGraphTest, TriplesOutsideTheRangeDrawNothingButCount) {
  const SensorTriple first{0.0f, 0.0f, 0.0f};
  Notify(&first);
  const QImage before = canvas.copy();
  const SensorTriple wild{0.0f, 2.5f, 0.0f};
  Notify(&wild);
  Notify(nullptr);
  EXPECT_EQ(canvas, before);
  EXPECT_EQ(graph.Sample(), 3);
  EXPECT_EQ(graph.HistCount(), 1);
  Notify(&first);
  EXPECT_EQ(graph.LastPoint(SensorGraph::kX).x(), 78 + 6 * 3 + 1);
}

TEST_F(SensorGraphTest, ValueTextsAreDrawnInTheirColoursWithADecimalPoint) {
  const SensorTriple values{0.5f, -1.0f, 0.25f};
  Notify(&values);
  const auto hasColour = [&](int left, QRgb colour) {
    for (int y = 755; y < 767; ++y)
      for (int x = left; x < left + 110; ++x)
        if (canvas.pixel(x, y) == colour)
          return true;
    return false;
  };
  EXPECT_TRUE(hasColour(81, kXColour));
  EXPECT_TRUE(hasColour(199, kYColour));
  EXPECT_TRUE(hasColour(316, qRgb(0, 225, 255)));
}

// A German desktop must not turn the texts into "0,500".
TEST(SensorGraphTexts, ThreeDecimalsWithAPointInAnyLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string restore = previous ? previous : "C";
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const SensorTriple values{0.5f, -1.0f, 2.0f};
  EXPECT_EQ(SensorGraph::ValueText(SensorGraph::kX, values), "X : -1.000");
  EXPECT_EQ(SensorGraph::ValueText(SensorGraph::kY, values), "Y : 0.500");
  EXPECT_EQ(SensorGraph::ValueText(SensorGraph::kZ, values), "Z : 2.000");
  QLocale::setDefault(QLocale::c());
  std::setlocale(LC_NUMERIC, restore.c_str());
}

// Never a silent fallback: the wanted family is installed and is what is used.
TEST(GraphFontTest, BoldSerifOfTheWantedFamilyElevenByEleven) {
  ASSERT_FALSE(GraphFont::InstalledFamily().isEmpty()) << "install fonts-liberation (scripts/install-deps)";
  const QFont& font = GraphFont::Font();
  EXPECT_EQ(QFontInfo(font).family(), GraphFont::InstalledFamily());
  EXPECT_TRUE(font.bold());
  const QFontMetricsF metrics(font);
  EXPECT_LE(metrics.height(), 11.0);
  EXPECT_NEAR(metrics.averageCharWidth(), 11.0, 1.0);
}
