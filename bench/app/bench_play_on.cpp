// SPDX-License-Identifier: GPL-3.0-or-later
// Playing on across the cuts of a drive in the real window with the real
// player module: a card of one drive of back-to-back recordings, opened at its
// first and played to the drive's end without a touch. At each cut, the time
// from the last frame notice of one recording to the first of the next, as
// the window receives them. The engine posts a notice with every third frame
// report and with the first of a recording, so a figure may be up to two
// frames (67 ms at 30 fps) longer than the gap between the pictures: an
// upper bound.
//   target: every gap under 0.3 s.
#include "app/CQIRA02Dlg.h"
#include "bench/support/EventsUntil.h"
#include "bench/support/HardLinkedCard.h"
#include "bench/support/Spread.h"
#include "bench/support/ViewerApplication.h"
#include "engine/QIRAAdap.h"
#include "engine/QIRAState.h"
#include "platform/WindowMessage.h"

#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kRecordings = 7;
constexpr int kSeconds = 4;
constexpr double kTargetMs = 300.0;

// Times the window's frame notices; a position that goes back starts the
// next recording (nothing seeks here).
class CutTimer : public QObject {
public:
  explicit CutTimer(const QObject* window) : m_window(window) {}

  const std::vector<double>& GapsMs() const { return m_gapsMs; }

  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (receiver != m_window || event->type() != platform::WindowMessageEvent::kType)
      return false;
    const auto* message = static_cast<const platform::WindowMessageEvent*>(event);
    if (message->message() != platform::kMsgPlayerNotify)
      return false;
    const Clock::time_point now = Clock::now();
    if (m_notices++ > 0 && message->lParam() < m_lastPosition)
      m_gapsMs.push_back(std::chrono::duration<double, std::milli>(now - m_last).count());
    m_last = now;
    m_lastPosition = message->lParam();
    return false;
  }

private:
  const QObject* m_window;
  int m_notices = 0;
  intptr_t m_lastPosition = 0;
  Clock::time_point m_last;
  std::vector<double> m_gapsMs;
};

bool makeCard(const QString& root) {
  const std::string command = "'" + hard_linked_card::Tool("make-sample-card") + "' --card '" + root.toStdString() +
                              "' --drives 1 --normal " + std::to_string(kRecordings) + " --seconds " +
                              std::to_string(kSeconds) + " >/dev/null";
  return std::system(command.c_str()) == 0;
}

} // namespace

int main(int argc, char** argv) {
  QTemporaryDir card, config, cache;
  // The viewer's own choices (play on is on by default) and an empty index cache.
  setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
  setenv("XDG_CACHE_HOME", cache.path().toLocal8Bit().constData(), 1);
  ViewerApplication application(argc, argv);
  if (!makeCard(card.path())) {
    std::fprintf(stderr, "bench_play_on: make-sample-card failed\n");
    return 1;
  }
  const QString folder = card.filePath("NormalMovie");
  const QStringList names = QDir(folder).entryList({"*.mp4"}, QDir::Files, QDir::Name);
  // Started as from the command line: the folder listed, its first recording
  // playing; the card's index, read when the folder is listed, is ready long
  // before that recording ends.
  CQIRA02Dlg window;
  window.SetStartFolder(folder);
  window.SetStartRecording(QDir(folder).filePath(names.value(0)));
  CutTimer timer(&window);
  application.installEventFilter(&timer);
  window.show();
  const auto timeout = std::chrono::seconds(kRecordings * kSeconds * 3 + 30);
  const bool ended = runEventsUntil(
      [&] { return int(timer.GapsMs().size()) == kRecordings - 1 && !window.IsRecordingOpen(); }, timeout);
  if (QIRAAdap* engine = window.Adapter()) {
    engine->CurrentState()->ClosePlayer();
    runEventsUntil([engine] { return !engine->IsPlayerLibraryLoaded(); }, 10s);
  }
  const Spread gaps = Spread::Of(timer.GapsMs());
  std::printf("play on across %zu cuts of %d recordings of %d s (640 x 480, 30 fps), last notice to first: "
              "min %.0f ms, median %.0f ms, max %.0f ms (target < %.0f ms, each up to 67 ms long)\n",
              timer.GapsMs().size(), kRecordings, kSeconds, gaps.min, gaps.median, gaps.max, kTargetMs);
  if (!ended || names.size() != kRecordings) {
    std::fprintf(stderr, "bench_play_on: the drive did not play to its end across every cut\n");
    return 1;
  }
  return gaps.max < kTargetMs ? 0 : 1;
}
