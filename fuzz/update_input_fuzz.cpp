// Feeds arbitrary bytes to every parser of what an update server or a
// command line can hand the program: the check file, the server list, the
// HTTP reply, the restart helper's argument text and the journal of a
// file switch found in the program folder.
#include <cassert>
#include <cstdint>
#include <string>

#include "net/http_download.h"
#include "update/upgrade_helper.h"
#include "updatelib/check_file.h"
#include "updatelib/file_switch.h"
#include "updatelib/ini_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 5) {
    case 0: {
      CheckFile list;
      std::string error;
      if (ParseCheckFile(text, list, error)) {
        for (const UpdateFileEntry& entry : list.files) {
          assert(IsSafeRelativeName(entry.name));
          assert(entry.sha256.size() == 64 && entry.size <= kMaxUpdateFileSize);
        }
        assert(list.expires >= 10000101 && list.expires <= 99991231);
      }
      break;
    }
    case 1: {
      const IniText ini = ParseIniText(text);
      for (const IniText::Section& section : ini.sections) assert(ini.Find(section.name) != nullptr);
      break;
    }
    case 2: {
      net::HttpReply reply;
      if (net::ParseHttpReply(text, reply)) assert(reply.status >= 0 && reply.status <= 999);
      break;
    }
    case 3: {
      SwitchJournal journal;
      if (ParseJournal(text, journal)) {
        for (const SwitchFile& file : journal.files) assert(IsSafeRelativeName(file.name) && !file.id.empty());
        SwitchJournal again;
        assert(ParseJournal(JournalText(journal), again) && again.files.size() == journal.files.size());
      }
      break;
    }
    default: {
      HelperArguments args;
      if (ParseHelperArguments(text, args) == HelperArgumentsKind::Helper) {
        assert(!args.handle.empty() && args.handle.find_first_not_of("0123456789") == std::string::npos);
      }
      break;
    }
  }
  return 0;
}
