#include "enginelib/engine_binary.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Header = ElfW(Ehdr);
using Section = ElfW(Shdr);
using Dynamic = ElfW(Dyn);

constexpr unsigned char kOwnClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
constexpr unsigned char kOwnByteOrder = std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;

// Every offset and size comes from the file, so each is checked before use.
bool FitsIn(std::string_view image, std::uint64_t offset, std::uint64_t size) {
  return offset <= image.size() && size <= image.size() - offset;
}

template <typename T>
bool ReadAt(std::string_view image, std::uint64_t offset, T& out) {
  if (!FitsIn(image, offset, sizeof(T))) return false;
  std::memcpy(&out, image.data() + offset, sizeof(T));
  return true;
}

}  // namespace

bool ElfImageNeeds(std::string_view image, std::string_view prefix) {
  Header header;
  if (!ReadAt(image, 0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != kOwnClass || header.e_ident[EI_DATA] != kOwnByteOrder ||
      header.e_shentsize != sizeof(Section) || header.e_shoff > image.size())
    return false;
  const auto sectionAt = [&](std::uint64_t index, Section& out) {
    return index < header.e_shnum && ReadAt(image, header.e_shoff + index * sizeof(Section), out);
  };

  Section dynamic;
  for (std::uint64_t i = 0; sectionAt(i, dynamic); ++i) {
    if (dynamic.sh_type != SHT_DYNAMIC) continue;
    Section strings;
    if (!sectionAt(dynamic.sh_link, strings) || !FitsIn(image, strings.sh_offset, strings.sh_size) ||
        !FitsIn(image, dynamic.sh_offset, dynamic.sh_size))
      return false;
    const auto names = image.substr(strings.sh_offset, strings.sh_size);
    Dynamic entry;
    for (std::uint64_t at = 0; at + sizeof(Dynamic) <= dynamic.sh_size; at += sizeof(Dynamic)) {
      ReadAt(image, dynamic.sh_offset + at, entry);
      if (entry.d_tag == DT_NULL) break;
      if (entry.d_tag != DT_NEEDED || entry.d_un.d_val >= names.size()) continue;
      const auto name = names.substr(entry.d_un.d_val);
      if (name.substr(0, name.find('\0')).starts_with(prefix)) return true;
    }
    return false;
  }
  return false;
}

bool ElfFileNeeds(const std::string& path, std::string_view prefix) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool needs = false;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    // Mapped, not read: only the few pages of the headers are touched.
    const auto size = static_cast<std::size_t>(st.st_size);
    void* image = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (image != MAP_FAILED) {
      needs = ElfImageNeeds({static_cast<const char*>(image), size}, prefix);
      munmap(image, size);
    }
  }
  close(fd);
  return needs;
}

bool EngineHasEnca(const std::string& binary) {
  static std::mutex mutex;
  static std::string asked;
  static bool answer = false;
  std::lock_guard lock(mutex);
  if (asked != binary) {
    answer = ElfFileNeeds(binary, "libenca.so");
    asked = binary;
  }
  return answer;
}
