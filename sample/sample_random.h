// Pseudo-random numbers for the sample pages: splitmix64 with fixed seeds, so the generator
// draws the same pages on every run and every machine.
#pragma once

#include <QtGlobal>

namespace cvx::sample {

class SampleRandom {
  public:
    explicit SampleRandom(quint64 seed) : state_(seed) {}

    quint64 next() {
        quint64 z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }

    // Uniform in [low, high).
    double between(double low, double high) { return low + (high - low) * unit(); }

    // Uniform integer in [0, n), n >= 1.
    int below(int n) { return static_cast<int>(next() % static_cast<quint64>(n)); }

  private:
    quint64 state_;
};

} // namespace cvx::sample
