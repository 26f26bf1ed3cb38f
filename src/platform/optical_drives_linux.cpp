#include "platform/optical_drives.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <tuple>
#include <utility>

namespace platform {

namespace {

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::vector<std::string> Fields(std::string_view line) {
  std::vector<std::string> fields;
  std::istringstream in{std::string(line)};
  for (std::string field; in >> field;) fields.push_back(field);
  return fields;
}

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

// The tables write space, tab, newline and backslash as "\040" and so on.
std::string DecodeOctalEscapes(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && IsOctal(text[i + 1]) && IsOctal(text[i + 2]) &&
        IsOctal(text[i + 3])) {
      out += static_cast<char>(((text[i + 1] - '0') << 6) | ((text[i + 2] - '0') << 3) | (text[i + 3] - '0'));
      i += 3;
    } else {
      out += text[i];
    }
  }
  return out;
}

// "sr10" -> ("sr", 10): drives sort by their letters, then by number.
std::tuple<std::string, unsigned long, std::string> DeviceOrderKey(const std::string& name) {
  std::size_t digits = name.size();
  while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9') --digits;
  const std::string number = name.substr(digits);
  // A run of digits too long for the number sorts after every shorter one.
  const unsigned long value = number.empty() ? 0 : number.size() > 9 ? ULONG_MAX : std::stoul(number);
  return {name.substr(0, digits), value, name};
}

std::string MountPointOf(const std::string& name, const std::vector<MountEntry>& table,
                         const DeviceNameOf& deviceNameOf) {
  for (const MountEntry& entry : table) {
    if (!entry.mountPoint.empty() && entry.mountPoint[0] == '/' && deviceNameOf(entry.device) == name) {
      return entry.mountPoint;
    }
  }
  return {};
}

}  // namespace

std::vector<std::string> ParseCdromDriveNames(std::string_view info) {
  static constexpr std::string_view kRow = "drive name:";
  std::vector<std::string> names;
  for (const std::string_view line : Lines(info)) {
    if (line.substr(0, kRow.size()) != kRow) continue;
    names = Fields(line.substr(kRow.size()));
    break;
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return DeviceOrderKey(a) < DeviceOrderKey(b); });
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::vector<MountEntry> ParseMountTable(std::string_view text) {
  std::vector<MountEntry> entries;
  for (const std::string_view line : Lines(text)) {
    const std::vector<std::string> fields = Fields(line);
    if (fields.size() < 2 || fields[0][0] == '#') continue;
    entries.push_back({DecodeOctalEscapes(fields[0]), DecodeOctalEscapes(fields[1])});
  }
  return entries;
}

std::vector<std::string> OpticalDriveStrings(const std::vector<std::string>& driveNames,
                                             const std::vector<MountEntry>& mounts,
                                             const std::vector<MountEntry>& fstab, const DeviceNameOf& deviceNameOf) {
  std::vector<std::string> drives;
  for (const std::string& name : driveNames) {
    std::string drive = MountPointOf(name, mounts, deviceNameOf);
    if (drive.empty()) drive = MountPointOf(name, fstab, deviceNameOf);
    if (drive.empty()) drive = "/dev/" + name;
    drives.push_back(drive);
  }
  return drives;
}

std::string SystemDeviceNameOf(const std::string& device) {
  std::string path = device;
  if (device.rfind("UUID=", 0) == 0) {
    path = "/dev/disk/by-uuid/" + device.substr(5);
  } else if (device.rfind("LABEL=", 0) == 0) {
    path = "/dev/disk/by-label/" + device.substr(6);
  }
  if (path.rfind("/dev/", 0) != 0) return {};
  char real[PATH_MAX];
  if (realpath(path.c_str(), real) != nullptr) path = real;
  if (path.rfind("/dev/", 0) != 0) return {};
  return path.substr(5);
}

SystemOpticalDrives::SystemOpticalDrives(std::string cdromInfoPath, std::string mountsPath, std::string fstabPath)
    : cdromInfoPath_(std::move(cdromInfoPath)), mountsPath_(std::move(mountsPath)), fstabPath_(std::move(fstabPath)) {}

std::vector<std::string> SystemOpticalDrives::List() const {
  const std::vector<std::string> names = ParseCdromDriveNames(ReadWholeFile(cdromInfoPath_));
  if (names.empty()) return {};
  return OpticalDriveStrings(names, ParseMountTable(ReadWholeFile(mountsPath_)),
                             ParseMountTable(ReadWholeFile(fstabPath_)), SystemDeviceNameOf);
}

std::shared_ptr<const OpticalDrives> MakeOpticalDrives() { return std::make_shared<SystemOpticalDrives>(); }

}  // namespace platform
