#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/clock.h"
#include "platform/dynamic_library.h"
#include "platform/manual_reset_event.h"
#include "platform/program_folder.h"
#include "test_media.h"

namespace {

TEST(ProgramFolder, IsTheExecutablesFolderWithTrailingSlash) {
  const std::string folder = platform::ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.front(), '/');
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(platform::IsLocalPath(folder));
  EXPECT_FALSE(platform::IsLocalPath("http://x/y"));
  EXPECT_FALSE(platform::IsLocalPath(""));
}

TEST(DynamicLibrary, LoadsSymbolsAndExplainsFailures) {
  platform::DynamicLibrary lib;
  EXPECT_FALSE(lib.Load("/nonexistent/libnothing.so"));
  EXPECT_FALSE(lib.IsLoaded());
  EXPECT_NE(lib.ErrorText().find("libnothing"), std::string::npos);
  EXPECT_EQ(lib.Symbol("cos"), nullptr);

  ASSERT_TRUE(lib.Load("libm.so.6")) << lib.ErrorText();
  auto cosine = reinterpret_cast<double (*)(double)>(lib.Symbol("cos"));
  ASSERT_NE(cosine, nullptr);
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
  EXPECT_EQ(lib.Symbol("no_such_export_here"), nullptr);
  EXPECT_FALSE(lib.ErrorText().empty());
  lib.Free();
  EXPECT_FALSE(lib.IsLoaded());
}

TEST(ManualResetEvent, ReleasesEveryWaiterUntilReset) {
  platform::ManualResetEvent event(false);
  EXPECT_FALSE(event.Wait(10));
  std::thread a([&] { EXPECT_TRUE(event.Wait()); });
  std::thread b([&] { EXPECT_TRUE(event.Wait(5000)); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  event.Set();
  a.join();
  b.join();
  EXPECT_TRUE(event.Wait(0));  // stays set
  event.Reset();
  EXPECT_FALSE(event.IsSet());
  const auto start = platform::TickCountMs();
  EXPECT_FALSE(event.Wait(50));
  EXPECT_GE(platform::TickCountMs() - start, 45u);
}

}  // namespace
