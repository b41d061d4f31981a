// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>

// Passes the share of a long job done to the caller's callback once per
// whole percent, and tells the job whether the caller cancelled it.
class ProgressReport {
public:
  ProgressReport(std::function<void(double)> callback, const std::atomic<bool>* cancel)
      : m_callback(std::move(callback)), m_cancel(cancel) {}

  // False once the caller cancelled.
  bool Report(double share);

private:
  std::function<void(double)> m_callback;
  const std::atomic<bool>* m_cancel;
  int m_lastPercent = -1;
};
