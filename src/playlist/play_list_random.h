#pragma once
#include <cstdint>

// The random picks of the playlist: a 32-bit linear congruential generator
// whose sequence is the same in every run (seed 1, never reseeded), so a
// shuffled playlist plays in the same order each time the program starts.
class PlayListRandom {
 public:
  explicit PlayListRandom(std::uint32_t seed = 1) : state_(seed) {}

  // Advances the state; returns bits 16..30 of it, 0 to 32767.
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }

  // The one generator of the process, shared by every playlist.
  static PlayListRandom& Process();

 private:
  std::uint32_t state_;
};
