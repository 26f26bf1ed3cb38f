#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "association/media_extensions.h"
#include "association/open_filter.h"

namespace {

TEST(MediaExtensionTable, TypesAndExclusionsAreConsistent) {
  std::set<std::string> seen;
  for (const auto& [extension, type] : kMediaExtensionTable) {
    const std::string ext = extension;
    EXPECT_TRUE(seen.insert(ext).second) << "duplicate " << ext;
    const bool real = ext == ".ra" || ext == ".ram" || ext == ".rm" || ext == ".rmvb";
    EXPECT_EQ(type, ext == ".mp3" ? 2 : real ? 1 : 0) << ext;
  }
  for (const char* ext : kFilterExclusionList) EXPECT_TRUE(seen.erase(ext)) << ext << " not in the table, or twice";
  EXPECT_TRUE(IsFilterExcluded(".Mp2V"));
  EXPECT_FALSE(IsFilterExcluded(".AVI"));
}

TEST(OpenFilterText, IsTheProductFilterByteForByte) {
  const std::string text = BuildOpenFilterText();
  EXPECT_EQ(text,
            "媒体文件 (所有类型)|*.3g2;*.3gp;*.ac3;*.asf;*.asx;*.avi;*.dat;*.flv;*.mkv;*.mov;*.mp2;*.mp3;*.mp4;*.mpa;"
            "*.mpe;*.mpeg;*.mpg;*.ogg;*.ra;*.ram;*.rm;*.rmvb;*.ts;*.vob;*.wav;*.wm;*.wma;*.wmv|所有文件 (*.*)|*.*|");
  EXPECT_EQ(AnsiByteCount(text.substr(0, text.find("|所有文件"))), 185u);
}

TEST(OpenFilterText, CountsChineseAsTwoBytesAndStopsOncePast210) {
  // 24 bytes with the first pattern, 10 per further one: the 19th addition
  // passes 210. Counting UTF-8 bytes (8 more in the name) stops one earlier.
  std::vector<std::string> names;
  for (int i = 0; i < 40; ++i) names.push_back(".x" + std::to_string(100000 + i));
  std::vector<MediaExtension> table{{".qt", 0}};  // the first is taken even when excluded
  for (const std::string& name : names) table.push_back({name.c_str(), 0});
  table.insert(table.begin() + 2, {".QT", 0});
  const std::vector<const char*> exclusions{".qt"};
  const std::string text = BuildOpenFilterText(table, exclusions);
  const std::string media = text.substr(0, text.rfind("|所有文件"));
  EXPECT_EQ(media.rfind("媒体文件 (所有类型)|*.qt;*.x100000;*.x100001;", 0), 0u);
  EXPECT_EQ(std::count(media.begin(), media.end(), '*'), 20);
  EXPECT_LE(AnsiByteCount(media.substr(0, media.rfind(';'))), kOpenFilterByteLimit);
}

TEST(QtNameFilters, PairsBecomeNameWithSpaceSeparatedPatterns) {
  const QStringList filters = ToQtNameFilters(BuildOpenFilterText());
  ASSERT_EQ(filters.size(), 2);
  EXPECT_TRUE(filters[0].startsWith(QStringLiteral("媒体文件 (所有类型) (*.3g2 *.3gp *.ac3 ")));
  EXPECT_TRUE(filters[0].endsWith(QStringLiteral(" *.wma *.wmv)")));
  EXPECT_EQ(filters[0].count(QStringLiteral("*.")), 28);
  // The name stays as written; the pattern lets names without a dot through.
  EXPECT_EQ(filters[1], QStringLiteral("所有文件 (*.*) (*)"));
  EXPECT_EQ(ToQtNameFilters("A|*.a;;*.b|B||C|*.c|D"), (QStringList{"A (*.a *.b)", "C (*.c)"}));
  EXPECT_EQ(ToQtNameFilters("A|*.*;x*.*|"), (QStringList{"A (* x*.*)"}));
}

}  // namespace
