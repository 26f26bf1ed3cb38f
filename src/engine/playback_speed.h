#pragma once
#include <optional>
#include <span>
#include <string>

// Playback speed, in percent of normal speed. The engine keeps the pitch
// with MPlayer's "scaletempo" audio filter, which is in a run's filter chain
// only while the speed is not normal: at 100 % the audio path is as it
// always was.
inline constexpr int kNormalSpeed = 100;
inline constexpr int kSlowestSpeed = 50;
inline constexpr int kFastestSpeed = 200;

// The speeds the menu offers and the keys step through, slowest first.
std::span<const int> SpeedSteps();

// The next step below / above speed (a speed between steps goes to the
// nearest step that way); the slowest and the fastest stay where they are.
int SlowerSpeed(int speed);
int FasterSpeed(int speed);

// Held to the slowest and the fastest speed.
int ClampSpeed(long long speed);

// A speed as MPlayer reads it: 150 gives "1.5", 75 "0.75", 200 "2".
std::string SpeedText(int speed);

// The slave commands that take a running engine from one speed to another,
// one per line: the filter is added before leaving normal speed and removed
// after coming back to it. Empty when nothing changes.
std::string SpeedChangeCommands(int from, int to);

// The speed of a rate asked for from outside (1.0 is normal speed); nothing
// for a rate that is not a number or lies outside the speeds offered.
std::optional<int> SpeedOfRate(double rate);
