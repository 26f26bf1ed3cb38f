#pragma once
#include <QString>
#include <string>

// "HH:MM:SS" of whole seconds; hours count within a day (a day or more shows
// only the hours beyond whole days). Negative values show as 00:00:00.
std::string ClockText(int seconds);

// The playing clock: position and length joined by a slash.
std::string PlaybackTimeText(int positionSeconds, int lengthSeconds);

// "从 HH:MM:SS 继续播放": where a medium picks up again.
std::string ResumeNoticeText(int seconds);

// The name a medium is shown by: the file name without its folder (an
// address containing "://" shows whole).
std::string MediaDisplayName(const char* file);

// The window title: "Kinovue", two spaces, the state's name, ": " and the
// medium's display name, readable also when the name is not UTF-8.
QString WindowTitle(int engineState, const char* file);

// What the title adds once a file the user keeps could not be saved: the
// file's name and why (errno of the failed write).
QString SaveProblemNote(const std::string& path, int error);

// The name of an engine state as the title shows it.
const char* EngineStateName(int engineState);
