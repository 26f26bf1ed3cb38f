#pragma once
#include <string>
#include <vector>

// Media the tests play, made with ffmpeg on first use and cached in the build
// folder (KINOVUE_TEST_MEDIA_DIR). Each returns the absolute path, or an empty
// string when ffmpeg failed (the caller then fails its test with a message).
namespace testsupport {

// 320x240, 3 s, MPEG-4 video + MP3 audio in AVI.
std::string VideoClip();
// 640x480, 25 s, MPEG-4 video + MP3 audio in AVI (long enough to measure CPU).
std::string LongVideoClip();
// 160x120, 200 s at 5 frames a second, MPEG-4 video + MP3 audio in AVI: long
// enough for the player to remember where it was left.
std::string FilmClip();
// 3 s of sine tone as MP3, no video.
std::string SoundClip();
// 320x240, 3 s, black MPEG-4 video in AVI, no sound: subtitles show plainly on it.
std::string BlackClip();

// A clip made once under name from ffmpeg's arguments (inputs, filters,
// codecs; the output file is added), cached like the ones above.
std::string MadeClip(const std::string& name, const std::vector<std::string>& ffmpegArgs);

// Folder of the built program (kinovue, libmplayer.so), with trailing '/'.
std::string ProgramFolder();
// Copies the built program with its engine and update libraries into folder,
// an installation of the test's own; false when a copy failed.
bool CopyProgramInto(const std::string& folder);
// Writes folder's "dat/kinovue.ini" so that the program asks no file-type
// question at start (for tests that are not about file types).
void SkipFileTypeQuestion(const std::string& folder);

}  // namespace testsupport
