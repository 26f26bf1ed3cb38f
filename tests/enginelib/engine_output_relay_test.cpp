// What the relay makes of one engine message: text a medium carried after a
// line break can no longer pass for a line of the engine's.
#include "enginelib/engine_output_relay.h"

#include <gtest/gtest.h>

namespace {

TEST(EngineOutputRelay, LinesAfterAMessagesFirstAreIndentedUnlessTheEngineSplitsThem) {
  const struct {
    const char* message;
    const char* relayed;
  } rows[] = {
      {" title: x\nID_LENGTH=1\n", " title: x\n  ID_LENGTH=1\n"},
      {"ID_CLIP_INFO_VALUE0=5\nID_LENGTH=1\n", "ID_CLIP_INFO_VALUE0=5\n  ID_LENGTH=1\n"},
      {"ID_AUDIO_ID=5\nID_LENGTH=1\n", "ID_AUDIO_ID=5\n  ID_LENGTH=1\n"},
      {" t: x\rA:   9.0\n", " t: x\r  A:   9.0\n"},  // a carriage return ends a line too
      {"\x01kinovue:end-of-run\n", "  \x01kinovue:end-of-run\n"},  // the host's own mark
      {"cut short", "cut short\n"},
      // The engine's own: several numbers in one message, empty lines around one.
      {"ID_AUDIO_BITRATE=64000\nID_AUDIO_RATE=44100\nID_AUDIO_NCH=2\n",
       "ID_AUDIO_BITRATE=64000\nID_AUDIO_RATE=44100\nID_AUDIO_NCH=2\n"},
      {"\nPlaying a.avi.\n", "\nPlaying a.avi.\n"},
      {"\n\nExiting... (End of file)\n", "\n\nExiting... (End of file)\n"},
      {"A:   0.1 (00.0) of 3.0 (03.0) \x1b[J\r", "A:   0.1 (00.0) of 3.0 (03.0) \x1b[J\r"},
  };
  for (const auto& row : rows) EXPECT_EQ(RelayEngineMessage(row.message), row.relayed) << row.message;
}

}  // namespace
