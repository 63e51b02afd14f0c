#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Errors.h"
#include "input/LabTextReader.h"
#include "input/MatrixFile.h"
#include "input/NITextReader.h"
#include "maps/ConnectionFile.h"
#include "marks/MarkSettingsFile.h"
#include "output/MarksTextImport.h"
#include "support/LabTextBuilder.h"
#include "support/NITextBuilder.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

// What a refusal says reaches a terminal: nothing of a hostile file may act on it (retitle
// it, clear it, fake a line) or flood it.
struct Reader {
  const char* name;
  // The file with `token` where a number or a name belongs.
  std::function<std::string(const std::string& token)> text;
  std::function<void(const std::string& path, const std::string& text)> read;
};

TEST(HostileTextMessages, EveryReaderShowsAFilesBytesHarmlesslyAndShort) {
  testing::TempDir dir;
  testing::ScriptedUi ui;
  const std::vector<Reader> readers = {
      {"NI text",
       [](const std::string& token) {
         return testing::NIText(2, [&](int row, int channel) { return row == 2 && channel == 3 ? token : "0.1"; });
       },
       [&](const std::string& path, const std::string& text) { NITextReader::Parse(path, text, 10, ui); }},
      {"laboratory text",
       [](const std::string& token) {
         return testing::NashvilleText(4, 2, [&](int row, int channel) { return row == 2 && channel == 2 ? token : "5"; });
       },
       [&](const std::string& path, const std::string& text) {
         LabTextReader::Parse(path, text, {LabTextReader::Layout::Nashville, 4, 2, 3}, ui);
       }},
      {"marks text", [](const std::string& token) { return token + "\nm.txt\n1000\n0\n0\n\n\n"; },
       [](const std::string& path, const std::string& text) { MarksTextImport::Parse(path, text); }},
      {"matrix", [](const std::string& token) { return "-2\n1 1 1 " + token + "\n\n17\n"; },
       [](const std::string& path, const std::string&) { MatrixFile::ReadNew(path); }},
      {"connection file", [](const std::string& token) { return "rec.C00\r\n" + token + "\r\n0\r\n"; },
       [](const std::string& path, const std::string& text) { ConnectionFile::Parse(path, text); }},
      {"settings file",
       [](const std::string& token) { return std::string(MarkSettingsFile::kFirstLine) + "\n[marking]\n" + token + ": 1\n"; },
       [](const std::string& path, const std::string& text) { MarkSettingsFile::Parse(path, text); }},
  };
  const struct {
    const char* name;
    std::string token;
    const char* shownAs;
  } tokens[] = {
      {"control bytes", "\x1b]0;owned\x07\x1b[2JALL_MARKS_SAVED", "\\x1b]0;owned\\x07\\x1b[2JALL_MARKS_SAVED"},
      {"a 1 MB token", std::string(1 << 20, '7') + "x", "…"},
  };
  for (const Reader& reader : readers) {
    for (const auto& token : tokens) {
      const std::string cell = std::string(reader.name) + " with " + token.name;
      const std::string text = reader.text(token.token);
      const std::string path = dir.Write("hostile.txt", text);
      try {
        reader.read(path, text);
        ADD_FAILURE() << cell << ": not refused";
      } catch (const IoError& error) {
        const std::string message = error.what();
        EXPECT_LT(message.size(), 400u) << cell;
        for (const char c : message)
          ASSERT_TRUE((c >= 0x20 && c != 0x7F) || (c & 0x80)) << cell << ": byte " << int(c) << " in " << message;
        if (reader.name != std::string("settings file") || token.token.size() < 1000)
          EXPECT_NE(message.find(token.shownAs), std::string::npos) << cell << ": " << message;
      }
    }
  }
}

}  // namespace
}  // namespace velmora
