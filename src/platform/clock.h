#pragma once
#include <cstdint>

namespace platform {

// Milliseconds from a fixed point in the past; never goes backwards.
std::uint64_t TickCountMs();

// The time source of code that counts down (cursor hiding, waits), so tests
// can drive it by hand.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint64_t NowMs() const = 0;
};

class SystemClock final : public Clock {
 public:
  std::uint64_t NowMs() const override { return TickCountMs(); }
};

}  // namespace platform
