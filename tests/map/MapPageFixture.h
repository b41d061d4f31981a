// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "map/CMapView.h"
#include "map/MapBrowser.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

// The map on its own host widget on the offscreen platform, with no tile
// address (the tests run without network), and a connection check the test
// sets.
class MapPageFixture : public testing::Test {
protected:
  static constexpr int kLoadTimeoutMs = 60000;

  static void SetUpTestSuite() {
    QStandardPaths::setTestModeEnabled(true);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    QFile tiles(QDir(folder).filePath(QStringLiteral("map-tiles.txt")));
    ASSERT_TRUE(tiles.open(QIODevice::WriteOnly | QIODevice::Truncate));
    tiles.write("\n\n");
  }

  void StartMap(bool connected = true) {
    m_connected = connected;
    m_host = std::make_unique<QWidget>();
    m_host->resize(1010, 790);
    auto* control = new QWidget(m_host.get());
    m_map = std::make_unique<CMapView>([this] { return m_connected; });
    m_bound = std::make_unique<QSignalSpy>(m_map.get(), &CMapView::documentBound);
    m_host->show();
    m_map->StartUp(control);
    ASSERT_TRUE(WaitBound());
  }

  void TearDown() override {
    m_bound.reset();
    m_host.reset();
    m_map.reset();
  }

  bool WaitBound() { return m_bound->wait(kLoadTimeoutMs); }

  // The value of a script expression, after every call queued before it.
  QVariant Evaluate(const QString& expression) {
    QVariant result;
    bool done = false;
    Page()->runJavaScript(expression, [&](const QVariant& value) {
      result = value;
      done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, kLoadTimeoutMs)) << expression.toStdString();
    return result;
  }

  QWebEngineView* View() { return qobject_cast<QWebEngineView*>(m_map->Browser()); }
  QWebEnginePage* Page() { return View()->page(); }

  bool m_connected = true;
  std::unique_ptr<QWidget> m_host;
  std::unique_ptr<CMapView> m_map;
  std::unique_ptr<QSignalSpy> m_bound;
};
