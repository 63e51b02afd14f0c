#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "core/AnalysisState.h"
#include "core/DataRoot.h"
#include "core/Errors.h"
#include "input/E00Reader.h"
#include "input/MatrixFile.h"
#include "marks/MarkFile.h"
#include "support/E00Builder.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

// Damages `bytes` the way files get damaged: cut short, bytes overwritten, garbage appended.
std::string Damage(std::string bytes, std::mt19937& random) {
  switch (random() % 3) {
    case 0:
      bytes.resize(random() % (bytes.size() + 1));
      break;
    case 1:
      for (int i = 0, n = 1 + int(random() % 8); i < n && !bytes.empty(); ++i)
        bytes[random() % bytes.size()] = char(random());
      break;
    default:
      for (int i = 0, n = int(random() % 40); i < n; ++i) bytes.push_back(char(random()));
  }
  return bytes;
}

// Damaged files are either read or refused with an IoError; nothing else escapes, and a
// refused recording leaves the loaded one as it was.
TEST(MalformedFiles, DamagedRecordingsAreReadOrRefused) {
  testing::TempDir dir;
  DataRoot root(dir.File("root"));
  testing::ScriptedUi ui;
  auto s = std::make_unique<AnalysisState>();
  s->DefaultMatrixFileName = dir.Write("grid.txt", testing::NewMatrixText(4, 4));
  testing::E00Builder builder;
  builder.frames = 40;
  const std::string good = builder.Bytes();
  E00Reader reader(*s, ui, root);
  reader.Open(dir.Write("good.E00", good), RecordingOpenOptions{false, false});
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    const std::string path = dir.Write("damaged.E00", Damage(good, random));
    try {
      reader.Open(path, RecordingOpenOptions{false, false});
      EXPECT_GE(s->SigLength, 1);
    } catch (const IoError&) {
      EXPECT_TRUE(s->FileLoaded);
    }
  }
}

TEST(MalformedFiles, DamagedMarkFilesAreReadOrRefused) {
  std::string good(4096, '\0');
  const int16_t size = 4096;
  std::memcpy(good.data() + 2, &size, 2);
  for (int n = 0; n < 20; ++n) good.append(std::string(16, char(n)));
  std::mt19937 random(12);
  for (int round = 0; round < 500; ++round) {
    std::string bytes = Damage(good, random);
    if (random() % 4 == 0 && bytes.size() >= 4) {
      const int16_t odd = int16_t(random());
      std::memcpy(bytes.data() + 2, &odd, 2);  // any header size at all
    }
    try {
      const MarkFileContents contents = MarkFile::Parse("m.M00", bytes);
      EXPECT_LE(contents.records.size(), size_t(kMaxMarks));
      EXPECT_EQ(contents.header.size(), 4096u);
    } catch (const IoError&) {
    }
  }
}

TEST(MalformedFiles, DamagedMatrixFilesAreReadOrRefused) {
  testing::TempDir dir;
  const std::string good = testing::NewMatrixText(16, 15);
  std::mt19937 random(13);
  auto s = std::make_unique<AnalysisState>();
  for (int round = 0; round < 300; ++round) {
    s->MatrixFileName = dir.Write("m.txt", Damage(good, random));
    try {
      LoadNewMatrix(*s);
      EXPECT_LE(s->NrCols, 100);
      EXPECT_LE(s->NrRows, 100);
      EXPECT_GE(s->NrTraces, 1);
    } catch (const IoError&) {
    }
  }
}

}  // namespace
}  // namespace velmora
