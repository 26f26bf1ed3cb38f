#include "platform/pipe.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <thread>

namespace {

TEST(Pipe, BytesCrossThreadsAndEndOfFileFollowsClose) {
  int r = -1, w = -1;
  ASSERT_EQ(platform::CreatePipe(r, w), 0);
  std::string got;
  std::thread reader([&] {
    char buffer[7];
    long n;
    while ((n = platform::ReadPipe(r, buffer, sizeof buffer)) > 0) got.append(buffer, static_cast<std::size_t>(n));
    EXPECT_EQ(n, 0);
  });
  const std::string big(100000, 'k');  // larger than the pipe buffer
  EXPECT_TRUE(platform::WritePipe(w, big.data(), big.size()));
  platform::ClosePipe(w);
  EXPECT_EQ(w, -1);
  reader.join();  // returns only because closing the write end ends the read
  EXPECT_EQ(got, big);
  platform::ClosePipe(r);
  platform::ClosePipe(r);  // twice is harmless
}

TEST(Pipe, WritingWithoutReaderFailsInsteadOfKillingTheProcess) {
  int r = -1, w = -1;
  ASSERT_EQ(platform::CreatePipe(r, w), 0);
  platform::ClosePipe(r);
  EXPECT_FALSE(platform::WritePipe(w, "quit\n", 5));
  platform::ClosePipe(w);
  EXPECT_FALSE(platform::WritePipe(-1, "x", 1));
}

TEST(Pipe, AFullNonBlockingPipeDropsWholeCommandsAndDrainsWithoutWaiting) {
  int r = -1, w = -1;
  ASSERT_EQ(platform::CreatePipe(r, w), 0);
  ASSERT_EQ(platform::SetNonBlocking(w), 0);
  // Nobody reads: once full, every write fails at once and leaves no half command.
  std::size_t written = 0;
  int refused = 0;
  for (int i = 0; i < 100000; ++i) {
    if (platform::WritePipe(w, "screenshot\n", 11))
      written += 11;
    else
      ++refused;
  }
  EXPECT_GT(refused, 0);
  EXPECT_EQ(platform::DrainPipe(r), written);
  EXPECT_EQ(platform::DrainPipe(r), 0u);  // empty: returns at once
  EXPECT_TRUE(platform::WritePipe(w, "quit\n", 5));
  platform::ClosePipe(r);
  platform::ClosePipe(w);
}

TEST(Pipe, ReplacedStandardInputReadsFromThePipe) {
  const int saved = dup(0);
  int r = -1, w = -1;
  ASSERT_EQ(platform::CreatePipe(r, w), 0);
  ASSERT_EQ(platform::ReplaceStandardInput(r), 0);
  ASSERT_TRUE(platform::WritePipe(w, "pause\n", 6));
  char buffer[16] = {};
  EXPECT_EQ(read(0, buffer, sizeof buffer), 6);
  EXPECT_STREQ(buffer, "pause\n");
  dup2(saved, 0);
  close(saved);
  platform::ClosePipe(r);
  platform::ClosePipe(w);
}

}  // namespace
