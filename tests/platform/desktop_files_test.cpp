// The texts Kinovue writes for the desktop: mimeapps.list edits that leave
// everything else alone, and the Exec argument of its entries.
#include <gtest/gtest.h>

#include <string>

#include "platform/desktop_entry.h"
#include "platform/mime_apps_list.h"

namespace {

using platform::DefaultApplicationChange;
using platform::WithDefaultApplications;

const std::string kList =
    "# mine\r\n[Added Associations]\nvideo/x-msvideo=vlc.desktop;\n\n[Default Applications]\n"
    "video/x-msvideo = vlc.desktop;mpv.desktop;\ntext/plain=gedit.desktop\n\n[Other]\nvideo/x-msvideo=odd\n";

TEST(MimeAppsList, ChangesTouchOnlyTheirOwnDefaultLines) {
  const struct {
    const char* what;
    std::string before;
    std::vector<DefaultApplicationChange> changes;
    std::string after;
  } rows[] = {
      {"replace in place", kList, {{"video/x-msvideo", "kinovue_0.desktop;"}},
       "# mine\r\n[Added Associations]\nvideo/x-msvideo=vlc.desktop;\n\n[Default Applications]\n"
       "video/x-msvideo=kinovue_0.desktop;\ntext/plain=gedit.desktop\n\n[Other]\nvideo/x-msvideo=odd\n"},
      {"add after the section's last line", kList, {{"audio/mpeg", "kinovue_2.desktop;"}},
       "# mine\r\n[Added Associations]\nvideo/x-msvideo=vlc.desktop;\n\n[Default Applications]\n"
       "video/x-msvideo = vlc.desktop;mpv.desktop;\ntext/plain=gedit.desktop\naudio/mpeg=kinovue_2.desktop;\n\n"
       "[Other]\nvideo/x-msvideo=odd\n"},
      {"remove", kList, {{"text/plain", std::nullopt}},
       "# mine\r\n[Added Associations]\nvideo/x-msvideo=vlc.desktop;\n\n[Default Applications]\n"
       "video/x-msvideo = vlc.desktop;mpv.desktop;\n\n[Other]\nvideo/x-msvideo=odd\n"},
      {"no section yet", "[Added Associations]\na/b=x;", {{"video/mp4", "k.desktop;"}},
       "[Added Associations]\na/b=x;\n\n[Default Applications]\nvideo/mp4=k.desktop;\n"},
      {"empty file", "", {{"video/mp4", "k.desktop;"}}, "[Default Applications]\nvideo/mp4=k.desktop;\n"},
      {"line breaks and '=' are refused", kList,
       {{"video/mp4\n[Evil]", "k;"}, {"a=b", "k;"}, {"video/mp4", "k;\nx=y"}}, kList},
      {"removing what is not there", kList, {{"video/mp4", std::nullopt}}, kList},
  };
  for (const auto& row : rows) EXPECT_EQ(WithDefaultApplications(row.before, row.changes), row.after) << row.what;
}

TEST(MimeAppsList, TheDefaultIsReadFromTheDefaultSectionOnly) {
  EXPECT_EQ(platform::DefaultApplicationIn(kList, "video/x-msvideo"), "vlc.desktop;mpv.desktop;");
  EXPECT_EQ(platform::DefaultApplicationIn(kList, "text/plain"), "gedit.desktop");
  EXPECT_EQ(platform::DefaultApplicationIn(kList, "video/mp4"), std::nullopt);
  EXPECT_EQ(platform::DefaultApplicationIn("[Default Applications]\nvideo/mp4=\n", "video/mp4"), "");
}

TEST(DesktopEntry, ExecQuotesOnlyWhatNeedsQuotingAndEscapesBothLayers) {
  const struct {
    const char* program;
    const char* execLine;
  } rows[] = {
      {"/opt/kinovue/kinovue", "Exec=/opt/kinovue/kinovue %F"},
      {"/home/u/my apps/kinovue", "Exec=\"/home/u/my apps/kinovue\" %F"},
      {"/x/100%/k", "Exec=/x/100%%/k %F"},
      {"/x/a\"b$c`d\\e", "Exec=\"/x/a\\\\\"b\\\\$c\\\\`d\\\\\\\\e\" %F"},
      {"/x/new\nline", "Exec=\"/x/new\\nline\" %F"},
  };
  for (const auto& row : rows) {
    const std::string text = platform::FormatDesktopEntry({"Kinovue", "c", row.program, "kinovue_0", {"video/mp4"}});
    EXPECT_NE(text.find(std::string("\n") + row.execLine + "\n"), std::string::npos) << row.program << "\n" << text;
  }
}

}  // namespace
