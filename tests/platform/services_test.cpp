#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

#include "platform/clock.h"
#include "platform/dynamic_library.h"
#include "platform/manual_reset_event.h"
#include "platform/program_folder.h"
#include "temp_dir.h"
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

TEST(ProgramFolder, IsEmptyWhenTheExecutablesLinkCannotBeRead) {
  testsupport::TempDir dir;
  ASSERT_EQ(symlink("/opt/kv/lib/kinovue", dir.File("exe").c_str()), 0);
  ASSERT_EQ(symlink("kinovue", dir.File("bare").c_str()), 0);
  const struct {
    std::string link, folder;
  } rows[] = {
      {dir.File("exe"), "/opt/kv/lib/"},
      {dir.File("bare"), ""},     // no folder in it: nothing to go on
      {dir.File("missing"), ""},  // no /proc: never the current folder
  };
  for (const auto& row : rows) EXPECT_EQ(platform::ProgramFolder(row.link), row.folder) << row.link;
}

// Sets or removes an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(DataFolder, IsBesideAProgramOnlyInAFolderNobodyElseMayWrite) {
  testsupport::TempDir dir;
  const std::string home = dir.File("home");
  ASSERT_EQ(mkdir(home.c_str(), 0755), 0);
  const std::string gone = dir.File("gone") + "/";  // a folder nobody can write to
  const auto folder = [&](const std::string& name, mode_t mode, uid_t owner = geteuid()) {
    const std::string path = dir.File(name);
    mkdir(path.c_str(), mode);
    chmod(path.c_str(), mode);  // past the umask
    if (owner != geteuid() && chown(path.c_str(), owner, static_cast<gid_t>(-1)) != 0) return std::string();
    return path + "/";
  };
  const std::string shared = folder("shared", 0775);
  const std::string open = folder("open", 0757);
  const std::string old = folder("old", 0755);
  ASSERT_EQ(mkdir((old + "dat").c_str(), 0777), 0);  // made by an older version
  ASSERT_EQ(chmod((old + "dat").c_str(), 0777), 0);
  // Only root may give a folder away; the row is left out for anyone else.
  const std::string others = folder("others", 0755, geteuid() == 0 ? 65534 : geteuid());
  const std::string xdg = dir.File("xdg/kinovue/");
  const struct {
    std::string programFolder;
    std::optional<std::string> dataHome;
    std::string expected;
  } rows[] = {
      {dir.Path() + "/", dir.File("xdg"), dir.File("dat/")},
      {old, dir.File("xdg"), old + "dat/"},
      {shared, dir.File("xdg"), xdg},
      {open, dir.File("xdg"), xdg},
      {geteuid() == 0 ? others : gone, dir.File("xdg"), xdg},
      {gone, dir.File("xdg/deeper"), dir.File("xdg/deeper/kinovue/")},
      {gone, std::nullopt, home + "/.local/share/kinovue/"},
      {gone, std::string("relative/data"), home + "/.local/share/kinovue/"},  // ignored, as the rules say
  };
  ScopedEnv homeEnv("HOME", home);
  for (const auto& row : rows) {
    ScopedEnv dataHomeEnv("XDG_DATA_HOME", row.dataHome);
    ASSERT_EQ(platform::DataFolder(row.programFolder), row.expected) << row.programFolder;
    struct stat info {};
    ASSERT_EQ(stat(row.expected.c_str(), &info), 0) << row.expected << " was not created";
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u) << row.expected;
  }
  for (const std::string& program : {shared, open}) {
    EXPECT_NE(access((program + "dat").c_str(), F_OK), 0) << "a data folder was made in " << program;
  }
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
