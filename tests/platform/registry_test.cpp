// The per-user registry file: its text form, the value semantics the
// association relies on, atomic and lock-protected changes.
#include "platform/registry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/atomic_file.h"
#include "temp_dir.h"

namespace {

using platform::Registry;
using namespace std::string_literals;

std::string Sig() { return std::string(platform::kRegistrySignature) + "\n"; }

TEST(RegistryText, DamagedTextReadsAsAnEmptyTree) {
  const std::string deep = "[" + [] {
    std::string path = "k";
    for (int i = 0; i < 600; ++i) path += "\\k";
    return path;
  }() + "]\n";
  const struct {
    const char* what;
    std::string text;
  } rows[] = {
      {"no signature", "[a]\n@=\"x\"\n"},
      {"value before any key", Sig() + "@=\"x\"\n"},
      {"unknown line", Sig() + "[a]\nrubbish\n"},
      {"bad escape", Sig() + "[a]\n@=\"\\q\"\n"},
      {"unterminated text", Sig() + "[a]\n@=\"abc\n"},
      {"text after the closing quote", Sig() + "[a]\n@=\"abc\"x\n"},
      {"odd hex", Sig() + "[a]\n@=hex:6\n"},
      {"empty key name", Sig() + "[a\\\\b]\n"},
      {"key name too long", Sig() + "[" + std::string(256, 'n') + "]\n"},
      {"path too deep", Sig() + deep},
      {"binary bytes", Sig() + "[a]\n\x01\x02\n"s},
  };
  for (const auto& row : rows) {
    platform::RegistryKey root;
    root.subkeys.push_back({"stale", {}, {}});
    EXPECT_FALSE(platform::ParseRegistryText(row.text, root)) << row.what;
    EXPECT_TRUE(root.subkeys.empty()) << row.what;
  }
}

TEST(RegistryText, AnyValueBytesSurviveTheRoundTrip) {
  const std::string datas[] = {
      "kinovue_0\0"s,        "\0"s,  // an empty text: one zero byte
      ""s,                           // size zero
      "no terminator"s,      "quote \" and back\\slash\0"s, "tab\tnew\nline\x7f\0"s,
      "two\0zeros\0"s,       "中文 UTF-8\0"s,
  };
  platform::RegistryKey root;
  root.subkeys.push_back({".avi", {}, {{"Sub]Key", {}, {}}}});
  for (std::size_t i = 0; i < std::size(datas); ++i) root.subkeys[0].values.push_back({"v" + std::to_string(i), datas[i]});
  root.subkeys[0].values.push_back({"", "default\0"s});
  const std::string text = platform::FormatRegistryText(root);
  platform::RegistryKey back;
  ASSERT_TRUE(platform::ParseRegistryText(text, back)) << text;
  ASSERT_EQ(back.subkeys.size(), 1u);
  ASSERT_EQ(back.subkeys[0].values.size(), std::size(datas) + 1);
  for (std::size_t i = 0; i < std::size(datas); ++i) EXPECT_EQ(back.subkeys[0].values[i].data, datas[i]) << i;
  EXPECT_EQ(back.subkeys[0].subkeys.at(0).name, "Sub]Key");
  EXPECT_EQ(platform::FormatRegistryText(back), text);
}

class RegistryStore : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  std::string path = dir.File("config/kinovue/classes.reg");
  Registry reg{path};
};

TEST_F(RegistryStore, ValuesKeepTheirSizeAndReadsRespectTheBuffer) {
  bool created = false;
  ASSERT_TRUE(reg.CreateKey(".avi\\deep", &created));
  EXPECT_TRUE(created);
  ASSERT_TRUE(reg.CreateKey(".AVI", &created));  // names ignore case
  EXPECT_FALSE(created);
  ASSERT_TRUE(reg.SetString(".avi", "", ""));
  ASSERT_TRUE(reg.SetValue(".avi", "zero", ""));
  ASSERT_TRUE(reg.SetString(".avi", "long", std::string(260, 'x')));
  ASSERT_TRUE(reg.SetString(".avi", "fits", std::string(259, 'x')));
  EXPECT_FALSE(reg.SetString(".mkv", "", "x"));  // the key must exist
  const struct {
    const char* name;
    Registry::Status status;
    std::size_t size;
  } rows[] = {
      {"", Registry::kOk, 1},        {"ZERO", Registry::kOk, 0},       {"missing", Registry::kNotFound, 0},
      {"long", Registry::kMoreData, 0}, {"fits", Registry::kOk, 260},
  };
  for (const auto& row : rows) {
    std::string data = "junk";
    EXPECT_EQ(reg.QueryValue(".avi", row.name, data, 260), row.status) << row.name;
    EXPECT_EQ(data.size(), row.size) << row.name;
  }
  EXPECT_EQ(reg.DeleteValue(".avi", "zero"), Registry::kOk);
  EXPECT_EQ(reg.DeleteValue(".avi", "zero"), Registry::kNotFound);
}

TEST_F(RegistryStore, DeleteKeyRefusesSubkeysAndDeleteTreeTakesThemAll) {
  for (const char* key : {"t\\a\\x", "t\\a\\y", "t\\b", "keep"}) ASSERT_TRUE(reg.CreateKey(key));
  EXPECT_EQ(reg.DeleteKey("t"), Registry::kFailed);
  EXPECT_TRUE(reg.KeyExists("t\\a\\x"));
  std::string name;
  EXPECT_EQ(reg.EnumKey("t", 0, name, 256), Registry::kOk);
  EXPECT_EQ(name, "a");
  EXPECT_EQ(reg.EnumKey("t", 2, name, 256), Registry::kNotFound);
  EXPECT_TRUE(reg.DeleteTree("t"));
  EXPECT_FALSE(reg.KeyExists("t"));
  EXPECT_TRUE(reg.KeyExists("keep"));
  EXPECT_FALSE(reg.DeleteTree("t"));
}

TEST_F(RegistryStore, ADamagedFileReadsEmptyAndIsKeptAsideOnTheNextWrite) {
  ASSERT_TRUE(reg.CreateKey("x"));
  ASSERT_TRUE(testsupport::WriteFileBytes(path, "\x89PNG garbage\0\xff"s));
  EXPECT_FALSE(reg.KeyExists("x"));
  std::string data;
  EXPECT_EQ(reg.QueryValue("x", "", data, 260), Registry::kNotFound);
  ASSERT_TRUE(reg.CreateKey("y"));
  EXPECT_TRUE(reg.KeyExists("y"));
  EXPECT_EQ(testsupport::ReadFileBytes(path + ".bad"), "\x89PNG garbage\0\xff"s);
}

// Reads are served from what was read last only while the file is the same.
TEST_F(RegistryStore, AChangeByAnotherProgramIsSeenAtTheNextCall) {
  const std::string sig = std::string(platform::kRegistrySignature) + "\n";
  const struct {
    const char* name;
    bool inPlace;  // rewritten in place (same inode, same size) or replaced
  } rows[] = {{"replaced", false}, {"rewritten in place", true}};
  for (const auto& row : rows) {
    ASSERT_EQ(platform::WriteFileAtomically(path, sig + "[aaaa]\n", {.createFolder = true}), 0);
    ASSERT_TRUE(reg.KeyExists("aaaa")) << row.name;
    if (row.inPlace) {
      std::FILE* file = std::fopen(path.c_str(), "r+");
      ASSERT_NE(file, nullptr);
      std::fseek(file, static_cast<long>(sig.size()) + 1, SEEK_SET);
      std::fputs("bbbb", file);
      std::fclose(file);
    } else {
      ASSERT_EQ(platform::WriteFileAtomically(path, sig + "[bbbb]\n"), 0);
    }
    EXPECT_TRUE(reg.KeyExists("bbbb")) << row.name;
    EXPECT_FALSE(reg.KeyExists("aaaa")) << row.name;
  }
}

TEST_F(RegistryStore, TwoWritersAtOnceLoseNoChangeAndLeaveNoTemporaryFile) {
  ASSERT_TRUE(reg.CreateKey("k"));
  // Two writers (separate objects, as two processes would be) at once.
  auto writer = [this](char tag) {
    Registry own(path);
    for (int i = 0; i < 25; ++i) own.CreateKey(std::string(1, tag) + std::to_string(i));
  };
  std::thread a(writer, 'a'), b(writer, 'b');
  a.join();
  b.join();
  for (const char tag : {'a', 'b'})
    for (int i = 0; i < 25; ++i) EXPECT_TRUE(reg.KeyExists(std::string(1, tag) + std::to_string(i))) << tag << i;
  EXPECT_TRUE(reg.KeyExists("k"));
  for (const QString& entry : QDir(QString::fromStdString(dir.File("config/kinovue"))).entryList(QDir::Files))
    EXPECT_TRUE(entry == "classes.reg" || entry == "classes.reg.lock") << entry.toStdString();
}

}  // namespace
