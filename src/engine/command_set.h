#pragma once
#include <optional>
#include <string>

// The slave-command text of the commands that carry no state of their own
// (delays, picture adjustments, track switches, ...). Returns nothing for a
// code that is not one of them, and an empty string for a command that
// writes no text with this argument (a zero delay or pan-scan amount).
std::optional<std::string> PlainCommandText(int code, long long arg);

// "+N"/"-N" amounts: above 0 the plus (or bare) form, 0 and below the minus
// form with the magnitude, so 0 gives "-0".
std::string SignedAmount(long long arg, bool plusSign);
// Tenths of a second from milliseconds: 100 gives "0.1", -100 "-0.1";
// empty for 0. plusSign puts "+" before a positive amount.
std::string TenthsAmount(long long arg, bool plusSign);
