#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "marks/MarkFile.h"
#include "marks/MarkStore.h"
#include "support/E00Builder.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

std::string Header(int16_t size = 4096) {
  std::string header(4096, '\0');
  header[0] = header[1] = char(0xFF);
  std::memcpy(header.data() + 2, &size, 2);
  return header;
}

std::string Record(uint16_t electrode, int16_t kind, int32_t time, int16_t origin, int16_t spare1 = 0) {
  std::string r(16, '\0');
  std::memcpy(r.data(), &electrode, 2);
  std::memcpy(r.data() + 2, &kind, 2);
  std::memcpy(r.data() + 4, &time, 4);
  std::memcpy(r.data() + 8, &spare1, 2);
  std::memcpy(r.data() + 12, &origin, 2);
  return r;
}

class MarkFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s->MatrixFileName = dir.Write("grid.txt", testing::NewMatrixText(4, 4));
    s->MarkFileName = dir.File("rec.M00");
  }
  void Add(int electrode, int kind, int time) {
    s->PointerChannel = electrode;
    MarkStore::AddMarkRecord(*s, time, kind);
  }
  testing::TempDir dir;
  testing::ScriptedUi ui;
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
};

TEST_F(MarkFileTest, AHeaderOnlyFileHoldsNoMarks) {
  dir.Write("rec.M00", Header());
  s->MarkCount = 5;
  ReadMarkFile(*s, ui, nullptr);
  EXPECT_EQ(s->MarkCount, 0);
}

TEST_F(MarkFileTest, RecordsAreReadInFileOrderWithEveryField) {
  dir.Write("rec.M00", Header() + Record(17, 1, 1234, 2, -7) + Record(256, -1, 99999, 1));
  ReadMarkFile(*s, ui, nullptr);
  ASSERT_EQ(s->MarkCount, 2);
  EXPECT_EQ(s->Mark(1).Electrode, 17);
  EXPECT_EQ(s->Mark(1).Kind, 1);
  EXPECT_EQ(s->Mark(1).Time, 1234);
  EXPECT_EQ(s->Mark(1).Origin, 2);
  EXPECT_EQ(s->Mark(1).Spare1, -7);
  EXPECT_EQ(s->Mark(2).Kind, -1);
  EXPECT_EQ(s->Mark(2).Visible, 1);
  EXPECT_EQ(ui.log.at(0), "reading.1." + s->MatrixFileName);
  EXPECT_EQ(s->NrCols, 4);  // the matrix is loaded again
}

TEST_F(MarkFileTest, ReadingStartsWhereTheHeaderSizeSays) {
  std::string file = Header(4112) + Record(1, 1, 1, 1) + Record(30, 2, 500, 1);
  dir.Write("rec.M00", file);
  ReadMarkFile(*s, ui, nullptr);
  ASSERT_EQ(s->MarkCount, 1);
  EXPECT_EQ(s->Mark(1).Electrode, 30);
}

TEST_F(MarkFileTest, ReadAndWrittenBackTheFileIsTheSameBitForBit) {
  std::string header = Header();
  for (size_t i = 4; i < header.size(); ++i) header[i] = char(i * 7);  // foreign bytes are carried
  // The fields the workbench owns, as this recording has them.
  s->NrChannelsInFile = 256;
  s->BytesPerSample = 2;
  s->HeaderWord90 = 11;
  s->HeaderWord104 = -3;
  s->SigLength = 65535;
  s->FileInfo = "gastric antrum, pig 4";
  std::string original = header + Record(17, 1, 1234, 2, -7) + Record(18, int16_t(kNoValue), kNoValue, 1);
  dir.Write("rec.M00", original);
  ReadMarkFile(*s, ui, nullptr);
  s->FileInfo = "gastric antrum, pig 4";
  WriteMarkFile(*s, ui);
  const std::string written = testing::ReadFile(s->MarkFileName);
  ASSERT_EQ(written.size(), original.size());
  EXPECT_EQ(written.substr(4096), original.substr(4096));
  // Owned fields are rewritten; every other header byte is as it was.
  int16_t word;
  std::memcpy(&word, written.data() + 86, 2);
  EXPECT_EQ(word, 256);
  std::memcpy(&word, written.data() + 104, 2);
  EXPECT_EQ(word, -3);
  int32_t sigLength;
  std::memcpy(&sigLength, written.data() + 2164, 4);
  EXPECT_EQ(sigLength, 65535);
  EXPECT_EQ(written[106], 8);  // "grid.txt"
  EXPECT_EQ(written.substr(107, 8), "grid.txt");
  EXPECT_EQ(written.substr(1899, 21), "gastric antrum, pig 4");
  EXPECT_EQ(written.substr(3000, 500), original.substr(3000, 500));
  EXPECT_EQ(written.substr(4, 80), original.substr(4, 80));
}

TEST_F(MarkFileTest, ADeletedSlotSurvivesWriteAndRead) {
  Add(20, 1, 100);
  Add(21, 1, 200);
  Add(22, 2, 300);
  MarkStore::RemoveTime(*s, ui, 21, 1, 150, 250);
  WriteMarkFile(*s, ui);
  EXPECT_FALSE(s->MarksChanged);
  EXPECT_EQ(testing::ReadFile(s->MarkFileName).size(), 4096u + 3 * 16);
  ReadMarkFile(*s, ui, nullptr);
  ASSERT_EQ(s->MarkCount, 3);
  EXPECT_EQ(s->Mark(2).Electrode, 21);
  EXPECT_EQ(s->Mark(2).Kind, kNoValue);
  EXPECT_EQ(s->Mark(2).Time, kNoValue);
  EXPECT_EQ(s->Mark(3).Time, 300);
}

TEST_F(MarkFileTest, WritingRenumbersSerialNumbersInStoreOrder) {
  Add(20, 1, 100);
  Add(21, 1, 200);
  s->Mark(1).SerialNr = 40;
  s->Mark(2).SerialNr = -3;
  WriteMarkFile(*s, ui);
  EXPECT_EQ(s->Mark(1).SerialNr, 1);
  EXPECT_EQ(s->Mark(2).SerialNr, 2);
}

TEST_F(MarkFileTest, TheMatrixNameIsCutTo16Characters) {
  s->MatrixFileName = "/some/folder/a-very-long-matrix-file-name.txt";
  WriteMarkFile(*s, ui);
  const std::string written = testing::ReadFile(s->MarkFileName);
  EXPECT_EQ(written[106], 16);
  EXPECT_EQ(written.substr(107, 16), "a-very-long-matr");
}

TEST_F(MarkFileTest, BrokenFilesAreRefusedAndTheStoreKept) {
  Add(20, 1, 100);
  const std::vector<std::pair<std::string, std::string>> broken = {
      {"cut in header", Header().substr(0, 3000)},
      {"empty", ""},
      {"size 0", Header(0) + Record(1, 1, 1, 1)},
      {"size odd", Header(4097) + Record(1, 1, 1, 1)},
      {"size not 16s", Header(4100) + Record(1, 1, 1, 1)},
      {"size negative", Header(-4096)},
      {"size beyond", Header(8192) + Record(1, 1, 1, 1)},
  };
  for (const auto& [what, bytes] : broken) {
    dir.Write("rec.M00", bytes);
    try {
      ReadMarkFile(*s, ui, nullptr);
      ADD_FAILURE() << what << " was read";
    } catch (const IoError& error) {
      EXPECT_EQ(error.Path(), s->MarkFileName) << what;
    }
    EXPECT_EQ(s->MarkCount, 1) << what;
    EXPECT_EQ(s->Mark(1).Time, 100) << what;
  }
}

TEST_F(MarkFileTest, AFullStoreOfMarksIsRead) {
  dir.Write("rec.M00", Header() + std::string(size_t(32767) * 16, '\0'));
  ReadMarkFile(*s, ui, nullptr);
  EXPECT_EQ(s->MarkCount, 32767);
}

TEST_F(MarkFileTest, ALastRecordCutShortIsLeftOutAndReported) {
  dir.Write("rec.M00", Header() + Record(17, 1, 5, 1) + Record(18, 1, 6, 1).substr(0, 9));
  ReadMarkFile(*s, ui, nullptr);
  EXPECT_EQ(s->MarkCount, 1);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].find("9 bytes"), std::string::npos);
}

TEST_F(MarkFileTest, CreatingWritesAFreshHeaderOnly) {
  s->MarkHeader.assign(4096, 0x55);
  Add(17, 1, 10);
  CreateMarkFile(*s, ui);
  const std::string bytes = testing::ReadFile(s->MarkFileName);
  ASSERT_EQ(bytes.size(), 4096u);
  EXPECT_EQ(uint8_t(bytes[0]), 0xFF);
  EXPECT_EQ(bytes[3000], 0);
  int16_t size;
  std::memcpy(&size, bytes.data() + 2, 2);
  EXPECT_EQ(size, 4096);
}

}  // namespace
}  // namespace velmora
