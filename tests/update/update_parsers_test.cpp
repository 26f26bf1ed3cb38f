// The parsers of what a server sends: the check file, names inside it, the
// HTTP reply; and the signature check itself.
#include <gtest/gtest.h>

#include "net/http_download.h"
#include "updatelib/check_file.h"
#include "updatelib/update_crypto.h"
#include "update_server.h"

namespace {

const std::string kHash(64, 'a');

std::string Entry(const std::string& id, const std::string& name, const std::string& extra = "") {
  return "[" + id + "]\nname=" + name + "\nversion=2\nsize=3\nsha256=" + kHash + "\n" + extra;
}

TEST(CheckFile, AcceptsOnlyWellFormedLists) {
  const std::string head = "[update_info]\r\ngroup_ver=20261201\r\nexpires=20270101\r\n";
  const struct {
    const char* name;
    std::string text;
    bool valid;
    std::size_t files;
  } rows[] = {
      {"two files, CR LF", head + Entry("_a", "kinovue", "restart=1\n") + Entry("_b", "skins/x.png"), true, 2},
      {"no files", head, true, 0},
      {"no group version", Entry("_a", "a"), false, 0},
      {"group version not a number", "[update_info]\ngroup_ver=2x\nexpires=20270101\n", false, 0},
      {"no expiry", "[update_info]\ngroup_ver=20261201\n", false, 0},
      {"expiry not a day", "[update_info]\ngroup_ver=20261201\nexpires=20270230\n", false, 0},
      {"expiry too short", "[update_info]\ngroup_ver=20261201\nexpires=2027011\n", false, 0},
      {"dot dot", head + Entry("_a", "a/../../b"), false, 0},
      {"absolute", head + Entry("_a", "/etc/passwd"), false, 0},
      {"backslash", head + Entry("_a", "..\\a"), false, 0},
      {"empty part", head + Entry("_a", "a//b"), false, 0},
      {"same name twice", head + Entry("_a", "a") + Entry("_b", "a"), false, 0},
      {"short hash", head + "[_a]\nname=a\nversion=1\nsize=1\nsha256=abc\n", false, 0},
      {"size too large", head + "[_a]\nname=a\nversion=1\nsize=999999999999\nsha256=" + kHash + "\n", false, 0},
      {"restart not 0 or 1", head + Entry("_a", "a", "restart=yes\n"), false, 0},
      {"id with a space", head + Entry("a b", "a"), false, 0},
      {"binary garbage", std::string("\0\xff[\n=\n", 6), false, 0},
  };
  for (const auto& row : rows) {
    CheckFile list;
    std::string error;
    EXPECT_EQ(ParseCheckFile(row.text, list, error), row.valid) << row.name << ": " << error;
    if (row.valid) {
      EXPECT_EQ(list.files.size(), row.files) << row.name;
    }
  }
}

TEST(CheckFile, KeepsEveryFieldOfAnEntry) {
  CheckFile list;
  std::string error;
  ASSERT_TRUE(ParseCheckFile("[update_info]\ngroup_ver=7\nexpires=20270101\n" + Entry("_kinovue_exe", "kinovue", "restart=1\n"),
                             list, error));
  EXPECT_EQ(list.groupVersion, 7);
  EXPECT_EQ(list.expires, 20270101);
  // Usable up to and including its last day.
  for (const auto& [today, current] : {std::pair{20261231ll, true}, {20270101ll, true}, {20270102ll, false}}) {
    EXPECT_EQ(IsCurrentList(list, today, error), current) << today;
  }
  ASSERT_EQ(list.files.size(), 1u);
  const UpdateFileEntry& e = list.files[0];
  EXPECT_EQ(e.id, "_kinovue_exe");
  EXPECT_EQ(e.name, "kinovue");
  EXPECT_EQ(e.version, 2);
  EXPECT_EQ(e.size, 3);
  EXPECT_EQ(e.sha256, kHash);
  EXPECT_TRUE(e.restart);
}

TEST(Signature, OnlyTheExactBytesUnderTheRightKeyPass) {
  UpdateServer signer;
  UpdateServer other;
  const std::string text = "[update_info]\ngroup_ver=1\n";
  const std::string good = signer.Sign(text);
  const struct {
    const char* name;
    std::string key;
    std::string message;
    std::string signature;
    bool valid;
  } rows[] = {
      {"good", signer.PublicKeyHex(), text, good, true},
      {"other key", other.PublicKeyHex(), text, good, false},
      {"one byte changed", signer.PublicKeyHex(), text + " ", good, false},
      {"signature cut", signer.PublicKeyHex(), text, good.substr(0, 126), false},
      {"signature not hex", signer.PublicKeyHex(), text, std::string(128, 'z'), false},
      {"no key", "", text, good, false},
      {"built-in key, test signature", kBuiltInUpdateKeyHex, text, good, false},
      // Signed with the release key by scripts/sign-update-list.
      {"built-in key, release signature", kBuiltInUpdateKeyHex, text,
       "fa6f69ffefb34de70cbd4b7ce4486e0304dcb136e8c3e71d2abb3bcedb690309"
       "f6589d11ec9eddf8997d717dc04489a9252ae99e296dd9209dda68575e509106",
       true},
  };
  for (const auto& row : rows) EXPECT_EQ(VerifyEd25519(row.key, row.message, row.signature), row.valid) << row.name;
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST(HttpReply, StatusAndBodyAreSplitSafely) {
  const struct {
    const char* name;
    std::string raw;
    bool valid;
    int status;
    std::string body;
  } rows[] = {
      {"ok with length", "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabcdef", true, 200, "abc"},
      {"ok until close", "HTTP/1.0 200 OK\r\n\r\nabc", true, 200, "abc"},
      {"not found", "HTTP/1.1 404 Not Found\r\n\r\n", true, 404, ""},
      {"no head end", "HTTP/1.1 200 OK\r\n", false, 0, ""},
      {"not http", "SSH-2.0\r\n\r\n", false, 0, ""},
      {"status not digits", "HTTP/1.1 2x0 OK\r\n\r\n", false, 0, ""},
      {"length not a number", "HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n", false, 0, ""},
  };
  for (const auto& row : rows) {
    net::HttpReply reply;
    EXPECT_EQ(net::ParseHttpReply(row.raw, reply), row.valid) << row.name;
    if (!row.valid) continue;
    EXPECT_EQ(reply.status, row.status) << row.name;
    EXPECT_EQ(reply.body, row.body) << row.name;
  }
}

}  // namespace
