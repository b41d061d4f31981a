// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <vector>

// The least, middle and greatest of a benchmark's samples; zeros for none.
struct Spread {
  double min = 0.0;
  double median = 0.0;
  double max = 0.0;

  static Spread Of(std::vector<double> samples) {
    if (samples.empty())
      return {};
    std::sort(samples.begin(), samples.end());
    return {samples.front(), samples[samples.size() / 2], samples.back()};
  }
};
