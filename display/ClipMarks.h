// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <optional>

// A clip's in and out marks on the timeline: a cyan bracket at each mark and
// a band between them, at the seconds' places the event marks use. Like the
// event marks, they are put on the canvas once per clearing.
class ClipMarks {
public:
  // Either mark may be unset; a change needs the timeline cleared.
  void Set(std::optional<double> in, std::optional<double> out);
  // True when drawn: marks set and not drawn since the last Forget().
  bool Draw(QImage& canvas, int duration);
  void Forget() { m_drawnFor = 0; }

  std::optional<double> In() const { return m_in; }
  std::optional<double> Out() const { return m_out; }

private:
  static int XOf(double second, int duration);

  std::optional<double> m_in;
  std::optional<double> m_out;
  int m_drawnFor = 0;
};
