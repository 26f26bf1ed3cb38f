#pragma once
#include <array>
#include <deque>
#include <string>

// The video disc layouts, tried in this order.
struct DiscLayout {
  const char* kind;       // "DVD", "VCD", "SVCD"
  const char* folder;     // under the drive root, with its trailing '/'
  const char* extension;  // upper case, with its leading dot
};

extern const std::array<DiscLayout, 3> kDiscLayouts;

// The playable files of the disc in the drive (a drive string from
// platform::OpticalDrives, i.e. its mount point), as full paths for the
// main window's disc queue:
// - the root is the drive string with a '/' appended when missing; when it is
//   not an existing directory (no disc, drive not ready) nothing is found;
// - for each layout in order, every entry of its folder that is not a
//   directory and whose extension (from the last dot, compared in upper
//   case) is the layout's gives root + folder + name; the first layout that
//   gives anything ends the scan;
// - the files keep the order in which the file system lists the folder
//   (readdir order, not sorted): menu files of a DVD are taken like the rest.
// Disc file systems mounted without Rock Ridge or Joliet show their names
// in lower case on Linux ("video_ts"), so a layout folder that is not found
// under its exact name is looked up ignoring ASCII case.
std::deque<std::string> ScanDisc(const std::string& drive);
