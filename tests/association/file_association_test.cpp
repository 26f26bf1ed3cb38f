// The association rules on a temporary registry file.
#include "association/file_association.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "association/media_extensions.h"
#include "temp_dir.h"

namespace {

using platform::Registry;

class Association : public ::testing::Test {
 protected:
  // The text of a string value, or nullopt when it is missing.
  std::optional<std::string> Value(const std::string& key, const std::string& name) {
    std::string data;
    if (reg.QueryValue(key, name, data, 100000) != Registry::kOk) return std::nullopt;
    return platform::RegistryText(data);
  }

  testsupport::TempDir dir;
  std::string path = dir.File("kinovue/classes.reg");
  Registry reg{path};
  FileAssociation assoc{path, "/opt/kv/kinovue"};
};

TEST_F(Association, EdgeCasesOfAssociateAndUnassociate) {
  const std::string other = "OtherPlayer.avi";
  const std::string tooLong(260, 'x');
  struct Row {
    const char* what;
    std::function<void(Registry&)> before;  // the .avi key as found
    std::function<bool(FileAssociation&)> act;
    bool result;
    std::optional<std::string> defaultValue, prevValue;
    bool keyExists;
    const char* otherValue;  // a value of another program that must survive, when given
  };
  auto own = [](Registry& r, const std::string& value) {
    r.CreateKey(".avi");
    r.SetString(".avi", "", value);
  };
  const Row rows[] = {
      {"fresh system: created, no backup", [](Registry&) {}, [](FileAssociation& a) { return a.Associate(".avi", 0); },
       true, "kinovue_0", std::nullopt, true, nullptr},
      {"another program's type is kept", [&](Registry& r) { own(r, other); },
       [](FileAssociation& a) { return a.Associate(".avi", 0); }, true, "kinovue_0", other, true, nullptr},
      {"associating twice keeps the first backup",
       [&](Registry& r) { own(r, other); },
       [](FileAssociation& a) { return a.Associate(".avi", 0) && a.Associate(".avi", 2); }, true, "kinovue_2", other,
       true, nullptr},
      {"an empty text has no type to keep", [&](Registry& r) { own(r, ""); },
       [](FileAssociation& a) { return a.Associate(".avi", 0); }, true, "kinovue_0", "", true, nullptr},
      {"too long a value: fails, nothing changes", [&](Registry& r) { own(r, tooLong); },
       [](FileAssociation& a) { return a.Associate(".avi", 0); }, false, tooLong, std::nullopt, true, nullptr},
      {"restore puts the other program back", [&](Registry& r) { own(r, other); },
       [](FileAssociation& a) { return a.Associate(".avi", 0) && a.Unassociate(".avi"); }, true, other, std::nullopt,
       true, nullptr},
      {"another program's extension is left alone", [&](Registry& r) { own(r, other); },
       [](FileAssociation& a) { return a.Unassociate(".avi"); }, true, other, std::nullopt, true, nullptr},
      {"a key Kinovue created goes again", [](Registry&) {},
       [](FileAssociation& a) { return a.Associate(".avi", 0) && a.Unassociate(".avi"); }, true, std::nullopt,
       std::nullopt, false, nullptr},
      {"a key found without a type loses only Kinovue's values",
       [](Registry& r) {
         r.CreateKey(".avi\\ShellNew");
         r.SetString(".avi", "Content Type", "video/avi");
       },
       [](FileAssociation& a) { return a.Associate(".avi", 0) && a.Unassociate(".avi"); }, true, std::nullopt,
       std::nullopt, true, "video/avi"},
      {"an unreadable value is not removed", [&](Registry& r) { own(r, tooLong); },
       [](FileAssociation& a) { return a.Unassociate(".avi"); }, false, tooLong, std::nullopt, true, nullptr},
      {"no key: nothing to remove", [](Registry&) {}, [](FileAssociation& a) { return a.Unassociate(".avi"); }, false,
       std::nullopt, std::nullopt, false, nullptr},
  };
  for (const Row& row : rows) {
    reg.DeleteTree(".avi");
    row.before(reg);
    EXPECT_EQ(row.act(assoc), row.result) << row.what;
    EXPECT_EQ(Value(".avi", ""), row.defaultValue) << row.what;
    EXPECT_EQ(Value(".avi", "PrevValue"), row.prevValue) << row.what;
    EXPECT_EQ(reg.KeyExists(".avi"), row.keyExists) << row.what;
    if (row.otherValue) {
      EXPECT_EQ(Value(".avi", "Content Type"), row.otherValue) << row.what;
      EXPECT_TRUE(reg.KeyExists(".avi\\ShellNew")) << row.what;
    }
  }
}

TEST_F(Association, IsAssociatedWantsTheExactTypeName) {
  reg.CreateKey(".mp3");
  const struct {
    std::string value;
    int type;
    bool associated;
  } rows[] = {{"kinovue_2", 2, true}, {"kinovue_2", 0, false}, {"Kinovue_2", 2, false},
              {"", 2, false},         {std::string(259, 'k'), 2, false}};
  for (const auto& row : rows) {
    reg.SetString(".mp3", "", row.value);
    EXPECT_EQ(assoc.IsAssociated(".mp3", row.type), row.associated) << row.value << " " << row.type;
  }
  reg.SetValue(".mp3", "", "kinovue_2");  // no terminating zero byte: the same text
  EXPECT_TRUE(assoc.IsAssociated(".mp3", 2));
}

TEST_F(Association, RegistersTheThreeTypesAndAssociatesAllOrNothing) {
  EXPECT_EQ(assoc.RegisterProgIds(), 1);
  const struct {
    const char* key;
    const char* value;
  } rows[] = {
      {"kinovue_0\\DefaultIcon", "/opt/kv/kinovue,1"}, {"kinovue_1\\DefaultIcon", "/opt/kv/kinovue,3"},
      {"kinovue_2\\DefaultIcon", "/opt/kv/kinovue,2"}, {"kinovue_1\\shell", "open"},
      {"kinovue_2\\shell\\open\\command", "\"/opt/kv/kinovue\" \"%1\""},
  };
  for (const auto& row : rows) EXPECT_EQ(Value(row.key, ""), row.value) << row.key;
  EXPECT_EQ(Value("kinovue_0", ""), std::nullopt);

  EXPECT_FALSE(assoc.AllAssociated());
  for (const MediaExtension& e : kMediaExtensionTable) ASSERT_TRUE(assoc.Associate(e.extension, e.type));
  EXPECT_TRUE(assoc.AllAssociated());
  ASSERT_TRUE(assoc.Unassociate(".wmv"));
  EXPECT_FALSE(assoc.AllAssociated());
  for (const MediaExtension& e : kMediaExtensionTable) assoc.Unassociate(e.extension);
  for (const MediaExtension& e : kMediaExtensionTable) EXPECT_FALSE(reg.KeyExists(e.extension)) << e.extension;
}

}  // namespace
