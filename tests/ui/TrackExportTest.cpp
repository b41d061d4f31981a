// SPDX-License-Identifier: GPL-3.0-or-later
// "Export GPS track..." in the background's menu, with the save dialog's
// answer scripted: the file matches what lumenark-telemetry writes for the
// same recording, and a failed export leaves nothing behind.
#include "FakePlayerDriver.h"
#include "FakePlayerWindowFixture.h"

#include "app/WindowThreadWait.h"
#include "engine/PlayerContract.h"
#include "tests/support/BuiltProgram.h"
#include "tests/support/DiagnosticRecorder.h"
#include "tests/support/ModalWatcher.h"

#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>

namespace {

const QString kRecording = QStringLiteral("drf0_20260614_093200.mp4");

QByteArray runTool(const QString& name, const QStringList& arguments) {
  const std::optional<QByteArray> output = testing_support::runBuiltProgram(name, arguments);
  EXPECT_TRUE(output.has_value()) << name.toStdString() << " failed";
  return output.value_or(QByteArray());
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class TrackExportTest : public FakePlayerWindowFixture {
protected:
  static void SetUpTestSuite() {
    s_card = new QTemporaryDir;
    const QStringList small{QStringLiteral("--width"),   QStringLiteral("64"),    QStringLiteral("--height"),
                            QStringLiteral("48"),        QStringLiteral("--fps"), QStringLiteral("5"),
                            QStringLiteral("--seconds"), QStringLiteral("12")};
    runTool(QStringLiteral("make-sample-card"),
            QStringList{QStringLiteral("--recording"), s_card->filePath(kRecording)} + small);
    // A video without telemetry: it plays, but has no track to export.
    runTool(QStringLiteral("make-sample-card"),
            QStringList{QStringLiteral("--recording"), s_card->filePath(QStringLiteral("drf0_20260614_093300.mp4")),
                        QStringLiteral("--fault"), QStringLiteral("no-udat")} +
                small);
  }
  static void TearDownTestSuite() { delete s_card; }

  void SetUp() override {
    WindowThreadWait::SetScale(0.01);
    FakePlayerWindowFixture::SetUp();
    ASSERT_TRUE(FakePlayerDriver::Fire(0, player::kEventReady));
    ASSERT_TRUE(m_out.isValid());
    Window().TrackExport().SetChooser([this](QWidget&, const QString& suggested) {
      m_suggested << suggested;
      return m_answer;
    });
  }

  void TearDown() override {
    FakePlayerWindowFixture::TearDown();
    WindowThreadWait::SetScale(1.0);
  }

  // Opened from the list as a double click opens it.
  void Open(int row) {
    const testing_support::DiagnosticRecorder diagnostics;
    Window().OpenRecordingFolder(QDir::toNativeSeparators(s_card->path()));
    auto* list = static_cast<QListWidget*>(Item(IDC_RECORDING_LIST));
    list->setCurrentRow(row);
    emit list->itemDoubleClicked(list->currentItem());
    EXPECT_TRUE(testing_support::waitUntil([&] { return !Window().IsWaiting(); }));
  }

  QAction* ExportEntry() {
    emit Window().SystemMenu()->aboutToShow();
    for (QAction* action : Window().SystemMenu()->actions())
      if (action->text() == QLatin1String("Export GPS track..."))
        return action;
    return nullptr;
  }

  // The messages the export showed.
  QStringList Export(const QString& path, const QString& filter = TrackExporter::Filters().first()) {
    m_answer = TrackExporter::Choice{path, filter};
    ModalWatcher watcher;
    ExportEntry()->trigger();
    return watcher.Messages();
  }

  QStringList OutFiles() const { return QDir(m_out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }

  static inline QTemporaryDir* s_card = nullptr;
  QTemporaryDir m_out;
  std::optional<TrackExporter::Choice> m_answer;
  QStringList m_suggested;
};

// The suffix picks the format; a name without one takes the filter's.
TEST_F(TrackExportTest, WritesWhatTheCommandWrites) {
  Open(0);
  const struct {
    const char* chosen;
    int filter;
    const char* written;
    const char* format;
  } cases[] = {
      {"track.gpx", 0, "track.gpx", "gpx"},
      {"track.csv", 0, "track.csv", "csv"},
      {"track", 2, "track.geojson", "geojson"},
      {"other.GeoJSON", 1, "other.GeoJSON", "geojson"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Export(m_out.filePath(c.chosen), TrackExporter::Filters()[c.filter]).join('\n').toStdString(), "")
        << c.chosen;
    const QByteArray expected =
        runTool(QStringLiteral("lumenark-telemetry"), {QStringLiteral("export"), s_card->filePath(kRecording),
                                                       QStringLiteral("--format"), QString::fromLatin1(c.format)});
    EXPECT_FALSE(expected.isEmpty());
    EXPECT_EQ(readFile(m_out.filePath(c.written)), expected) << c.chosen;
  }
  EXPECT_EQ(m_suggested.first(), QDir::home().filePath(QStringLiteral("drf0_20260614_093200.gpx")));
  EXPECT_EQ(m_suggested.last(), m_out.filePath(QStringLiteral("drf0_20260614_093200.gpx")));
}

// A target that cannot be written is reported and leaves no file, partial or
// temporary, behind.
TEST_F(TrackExportTest, UnwritableTargetLeavesNoFile) {
  Open(0);
  ASSERT_TRUE(QDir(m_out.path()).mkdir(QStringLiteral("taken.gpx")));
  for (const QString& target :
       {m_out.filePath(QStringLiteral("missing/track.gpx")), m_out.filePath(QStringLiteral("taken.gpx"))}) {
    const QStringList messages = Export(target);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QLatin1String("The GPS track could not be written; no file was saved.")))
        << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(target));
    EXPECT_EQ(OutFiles(), QStringList(QStringLiteral("taken.gpx")));
  }
}

// Without usable telemetry, or with no recording open, no dialog is offered.
TEST_F(TrackExportTest, NothingToExportIsExplained) {
  EXPECT_FALSE(ExportEntry()->isEnabled());
  {
    ModalWatcher watcher;
    Window().TrackExport().Export(Window(), QString());
    EXPECT_EQ(watcher.Messages().join('\n').toStdString(),
              "No recording is open: open one from the list to export its GPS track.");
  }

  Open(1);
  EXPECT_TRUE(ExportEntry()->isEnabled());
  EXPECT_EQ(Export(m_out.filePath(QStringLiteral("track.gpx"))).join('\n').toStdString(),
            "drf0_20260614_093300.mp4 has no usable GPS telemetry (code 7); nothing was exported.");
  EXPECT_TRUE(m_suggested.isEmpty());
  EXPECT_TRUE(OutFiles().isEmpty());
}

} // namespace
