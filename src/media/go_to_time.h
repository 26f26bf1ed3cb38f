#pragma once
#include <string>

// The text of the go-to dialog: hours, minutes and seconds, each as two
// digits (or more when over 99), joined with ':' (3725 -> "01:02:05").
// A negative position shows as 0.
std::string FormatGoToTime(int positionSeconds);

// The seek target of a go-to text, in seconds. The text must be exactly 8
// characters (Unicode characters of the UTF-8 text, so that full-width
// separators such as "：", which the dialog's own note shows, count as one);
// hours, minutes and seconds are read like atoi from characters 0-1, 3-4 and
// 6-7, the separators are not checked. Any other length, a target above
// lengthSeconds, or a negative target ("-1:00:00") gives 0.
int ParseGoToTime(const std::string& text, int lengthSeconds);
