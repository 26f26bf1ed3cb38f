#include "enginelib/engine_binary.h"

#include <elf.h>
#include <gtest/gtest.h>
#include <link.h>

#include <cstring>

#include "temp_dir.h"

namespace {

// Debian's MPlayer, installed by scripts/setup, links ENCA.
const std::string kEngine = "/usr/bin/mplayer";

std::string WithSectionTableAt(std::string image, ElfW(Off) offset) {
  std::memcpy(image.data() + offsetof(ElfW(Ehdr), e_shoff), &offset, sizeof offset);
  return image;
}

TEST(EngineBinary, NeededLibrariesAreReadOnlyFromAWholeSoundElfFile) {
  const std::string engine = testsupport::ReadFileBytes(kEngine);
  ASSERT_GT(engine.size(), 4096u) << kEngine;
  const struct {
    std::string image;
    std::string prefix;
    bool needs;
  } rows[] = {
      {engine, "libenca.so", true},
      {engine, "libnot-linked.so", false},
      {engine, "enca", false},  // a prefix, not a part of the name
      {engine.substr(0, 4096), "libenca.so", false},
      {WithSectionTableAt(engine, ~ElfW(Off){0} - 8), "libenca.so", false},
      {WithSectionTableAt(engine, engine.size() - 10), "libenca.so", false},
      {"#!/bin/sh\nexec /usr/bin/mplayer \"$@\"\n", "libenca.so", false},
      {"", "libenca.so", false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ElfImageNeeds(row.image, row.prefix), row.needs) << "row " << &row - rows;
  }
  EXPECT_TRUE(ElfFileNeeds(kEngine, "libenca.so"));
  EXPECT_FALSE(ElfFileNeeds("/nonexistent/mplayer", "libenca.so"));
  EXPECT_FALSE(ElfFileNeeds("/", "libenca.so"));
  EXPECT_TRUE(EngineHasEnca(kEngine));
  EXPECT_FALSE(EngineHasEnca("/nonexistent/mplayer"));
}

}  // namespace
