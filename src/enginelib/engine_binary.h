#pragma once
#include <string>
#include <string_view>

// What the MPlayer program file links, read from its ELF dynamic section: the
// engine's optional features are known without starting it.

// True when `image` (a whole ELF file of this machine's class and byte order)
// names a needed library that begins with `prefix` ("libenca.so" matches
// "libenca.so.0"). A script, a foreign or a damaged file gives false.
bool ElfImageNeeds(std::string_view image, std::string_view prefix);

// ElfImageNeeds on the file at `path`; false when it cannot be read.
bool ElfFileNeeds(const std::string& path, std::string_view prefix);

// True when the program at `binary` can guess a subtitle file's encoding
// (it links ENCA). Asked of the file once per process.
bool EngineHasEnca(const std::string& binary);
