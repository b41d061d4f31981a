// SPDX-License-Identifier: GPL-3.0-or-later
#include "overview/CardOverview.h"
#include "overview/OverviewMapJson.h"
#include "tests/tools/ProcessRunner.h"

#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QWebEngineView>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

constexpr int kTimeoutMs = 60000;

// Two drives of two 5 s recordings, the first with a copy of its brake.
class CardOverviewTest : public testing::Test {
protected:
  void SetUp() override {
    m_folder = ProcessRunner::TemporaryFolder();
    ASSERT_EQ(ProcessRunner::Run(ProcessRunner::Tool("make-sample-card") + " --card '" + m_folder +
                                 "/card' --drives 2 --normal 2 --event 1 --seconds 5 --width 64 --height 48 --fps 10"
                                 " --drive-gap 60")
                  .exitCode,
              0);
  }
  void TearDown() override { std::filesystem::remove_all(m_folder); }

  // The page's answer to `script`, after what was queued before it.
  static QVariant Evaluate(QWebEngineView* view, const QString& script) {
    QVariant result;
    bool done = false;
    view->page()->runJavaScript(script, [&](const QVariant& value) {
      result = value;
      done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, kTimeoutMs)) << script.toStdString();
    return result;
  }

  std::string m_folder;
};

// A click on a track point, and on an event pin, names the recording that
// holds that moment and the second within it.
TEST_F(CardOverviewTest, ClickOnTheMapNamesTheRecordingAndSecond) {
  CardOverview overview(QString::fromStdString(m_folder + "/card"), nullptr,
                        QString::fromStdString(m_folder + "/cache"));
  QSignalSpy indexed(&overview, &CardOverview::indexed);
  QSignalSpy picked(&overview, &CardOverview::recordingPicked);
  overview.show();
  ASSERT_TRUE(indexed.wait(kTimeoutMs));
  ASSERT_NE(overview.Drives(), nullptr);
  EXPECT_EQ(overview.findChild<QTableWidget*>()->rowCount(), 2);
  auto* view = overview.findChild<QWebEngineView*>();
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return Evaluate(view, "trackLayer.getLayers().length").toInt() == 2; }, kTimeoutMs));

  const CardDrives& card = *overview.Drives();
  const RecordingSummary& second = card.Recordings()[card.Drives()[0].recordings[1]];
  const RecordingSummary::Point& point = second.track.at(3);
  Evaluate(view, QStringLiteral("trackLayer.getLayers()[0].fire('click', {latlng: L.latLng(%1, %2)}); true")
                     .arg(point.latitude, 0, 'f', 6)
                     .arg(point.longitude, 0, 'f', 6));
  ASSERT_TRUE(picked.count() == 1 || picked.wait(kTimeoutMs));
  EXPECT_EQ(picked.at(0).at(0).toString().toStdString(), second.path);
  EXPECT_EQ(picked.at(0).at(1).toInt(), 3);

  const RecordingSummary& copy = card.Recordings()[card.Drives()[0].events.at(0)];
  Evaluate(view, "eventLayer.getLayers()[0].fire('click'); true");
  ASSERT_TRUE(picked.count() == 2 || picked.wait(kTimeoutMs));
  EXPECT_EQ(picked.at(1).at(0).toString().toStdString(), copy.path);
  EXPECT_EQ(picked.at(1).at(1).toInt(), int(OverviewMapJson::EventSecond(copy)));
  EXPECT_GT(OverviewMapJson::EventSecond(copy), 0u);
}

} // namespace
