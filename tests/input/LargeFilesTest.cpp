#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/AnalysisState.h"
#include "core/DataRoot.h"
#include "core/Errors.h"
#include "input/NITextReader.h"
#include "marks/MarkFile.h"
#include "output/MarksTextImport.h"
#include "support/MarkFileBytes.h"
#include "support/NITextBuilder.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

// A file padded with a terabyte of nothing (sparse: it takes no disk) behind what it holds.
std::string WithHugeTail(const testing::TempDir& dir, const std::string& name, const std::string& bytes) {
  const std::string path = dir.Write(name, bytes);
  EXPECT_EQ(::truncate(path.c_str(), int64_t(1) << 40), 0);
  return path;
}

// A file far larger than its reader can use: what can be used is read, and what cannot be is
// refused in words before it is read, never by running out of memory.
TEST(LargeFiles, OnlyWhatAReaderCanUseIsReadAndTheRestRefusedInWords) {
  testing::TempDir dir;
  testing::ScriptedUi ui;
  const struct {
    const char* name;
    std::function<void()> read;
    const char* refusal;  // empty when the file is read
  } readers[] = {
      {"mark file",
       [&] { MarkFile::Read(WithHugeTail(dir, "rec.M00", testing::MarkFileBytes({MarkRecord{20, kSlowWave, 100}}))); },
       "a mark file of at most"},
      {"marks text", [&] { MarksTextImport::Read(WithHugeTail(dir, "marks.txt", "7\nm.txt\n1000\n0\n0\n\n\n")); },
       "of memory free to read it"},
      {"NI text of 50 lines asked",
       [&] {
         AnalysisState s;
         DataRoot root(dir.File("root"));
         root.EnsureExists();
         const std::string path =
             WithHugeTail(dir, "ni.txt", testing::NIText(60, [](int, int) { return "0.001"; }) + std::string(1, '\0'));
         NITextReader(s, ui, root).Read(path, 50);
         EXPECT_EQ(s.SigLength, 50);
       },
       ""},
  };
  for (const auto& reader : readers) {
    try {
      reader.read();
      EXPECT_STREQ(reader.refusal, "") << reader.name << " was read";
    } catch (const IoError& error) {
      EXPECT_NE(std::string(error.what()).find(reader.refusal), std::string::npos) << reader.name << ": " << error.what();
      EXPECT_STRNE(reader.refusal, "") << reader.name << ": " << error.what();
    }
  }
}

}  // namespace
}  // namespace velmora
