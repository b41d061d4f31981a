// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Small deterministic generator: the same seed gives the same card on every
// platform, which the standard distributions do not promise.
class SplitMix {
public:
  explicit SplitMix(uint64_t seed) : m_state(seed) {}

  uint64_t Next() {
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Uniform in [low, high).
  double Uniform(double low, double high) { return low + (high - low) * double(Next() >> 11) * 0x1.0p-53; }

private:
  uint64_t m_state;
};
