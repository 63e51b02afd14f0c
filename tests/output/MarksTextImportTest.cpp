#include <gtest/gtest.h>

#include <string>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Errors.h"
#include "output/MarksTextImport.h"

namespace velmora {
namespace {

const std::string kHeader7 = "7 header lines\n/data/grid.txt\n1000\n2\n0\nsix\nseven\n";

class MarksTextImportTest : public ::testing::Test {
 protected:
  void SetUp() override { SetDefaults(s); }
  std::string ErrorOf(const std::string& text) {
    try {
      MarksTextImport::Parse("marks.txt", text);
    } catch (const ConversionError& error) {
      return error.what();
    }
    return "";
  }

  AnalysisState s;
};

TEST_F(MarksTextImportTest, TheFirstMarkFollowsTheHeaderLinesTheFirstLineCounts) {
  const MarksTextImport::Contents seven = MarksTextImport::Parse("m.txt", kHeader7 + "20 1000.4 1 0 0\n21\t1500.5\t2\t7\t8 rest\n");
  ASSERT_EQ(seven.marks.size(), 2u);
  EXPECT_EQ(seven.marks[0].electrode, 20);
  EXPECT_EQ(seven.marks[0].time, 1000);
  EXPECT_EQ(seven.marks[1].time, 1500);  // halves to even
  EXPECT_EQ(seven.marks[1].kind, 2);
  EXPECT_EQ(seven.matrixFileName, "/data/grid.txt");
  EXPECT_EQ(seven.samplingF, 1000);

  const std::string ten = "10\n/g.txt\n500\n1\n0\n6\n7\n8\n9\n10\n30 2000 3 0 0\n";
  const MarksTextImport::Contents tenLines = MarksTextImport::Parse("m.txt", ten);
  ASSERT_EQ(tenLines.marks.size(), 1u);
  EXPECT_EQ(tenLines.marks[0].electrode, 30);
  EXPECT_EQ(tenLines.marks[0].time, 2000);
  EXPECT_EQ(MarksTextImport::Parse("m.txt", "8header\n/g.txt\n500\n1\n0\n6\n7\n8\n31 5 1 0 0\n").marks[0].time, 5);
  // A count below 8 skips nothing more.
  EXPECT_EQ(MarksTextImport::Parse("m.txt", "3\n/g.txt\n500\n1\n0\n6\n7\n31 5 1 0 0\n").marks[0].electrode, 31);
}

TEST_F(MarksTextImportTest, ABadLineIsNamed) {
  EXPECT_NE(ErrorOf(kHeader7 + "20 1000 1 0 0\n21 x 1 0 0\n").find("marks.txt: line 9:"), std::string::npos);
  EXPECT_NE(ErrorOf(kHeader7 + "20 1000 1\n21 1000 1 0 0\n").find("line 8: a mark needs five numbers"),
            std::string::npos);
  EXPECT_NE(ErrorOf(kHeader7 + "20 1000 1 0 0\n").find("line 9:"), std::string::npos);  // two marks promised
  EXPECT_NE(ErrorOf(kHeader7 + "257 1000 1 0 0\n20 1 1 0 0\n").find("line 8: electrode 257"), std::string::npos);
  EXPECT_NE(ErrorOf(kHeader7 + "20 1000 0 0 0\n20 1 1 0 0\n").find("line 8: mark kind 0"), std::string::npos);
  EXPECT_NE(ErrorOf("7\n/g\n0\n0\n0\n\n\n").find("line 3:"), std::string::npos);
  EXPECT_NE(ErrorOf("header\n/g\n1000\n0\n0\n\n\n").find("marks.txt: line 1:"), std::string::npos);
  EXPECT_NE(ErrorOf("7\n/g\n1000\n-1\n0\n\n\n").find("line 4:"), std::string::npos);
  // A header count far beyond the file's end is refused at once, not skipped line by line.
  EXPECT_NE(ErrorOf("2000000000\n/g\n1000\n2\n0\n\n\n").find("ends within its 2000000000 header lines"),
            std::string::npos);
}

TEST_F(MarksTextImportTest, ApplyAppendsTheMarksAndKeepsTheRecordingsMatrixAndRate) {
  s.MarkCount = 1;
  s.Mark(1).Electrode = 99;
  s.MarkOrigin = kByHand;
  s.MatrixFileName = "/home/lab/grid.txt";
  s.SamplingF = 1000;
  const std::string marks = "20 1000 1 0 0\n21 1500 -1 0 0\n";
  EXPECT_EQ(MarksTextImport::Apply(s, "/in/m.txt", MarksTextImport::Parse("m.txt", kHeader7 + marks)), "");
  ASSERT_EQ(s.MarkCount, 3);
  EXPECT_EQ(s.Mark(1).Electrode, 99);
  EXPECT_EQ(s.Mark(2).Electrode, 20);
  EXPECT_EQ(s.Mark(3).Kind, kReferenceMark);
  EXPECT_EQ(s.Mark(3).Time, 1500);
  EXPECT_EQ(s.Mark(3).Origin, kByHand);
  EXPECT_TRUE(s.MarksChanged);

  const struct {
    const char* matrix;
    int rate;
    const char* said;  // after "m.txt names "; empty when nothing is said
  } cases[] = {
      {"C:\\MyMatrix\\GRID.TXT", 1000, ""},  // the same grid, named elsewhere
      {"", 1000, ""},
      {"/data/other.txt", 1000, "the matrix other.txt; its marks were added to the recording, which keeps its matrix "
                                "grid.txt."},
      {"/data/grid.txt", 2000, "a rate of 2000 Hz; its marks were added to the recording, which keeps its rate of "
                               "1000 Hz."},
      {"other.txt", 30, "the matrix other.txt and a rate of 30 Hz; its marks were added to the recording, which keeps "
                        "its matrix grid.txt and its rate of 1000 Hz."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.matrix);
    const std::string header = fmt::format("7\n{}\n{}\n2\n0\n\n\n", c.matrix, c.rate);
    const std::string said = MarksTextImport::Apply(s, "/in/m.txt", MarksTextImport::Parse("m.txt", header + marks));
    EXPECT_EQ(said, *c.said ? std::string("m.txt names ") + c.said : "");
    EXPECT_EQ(s.MatrixFileName, "/home/lab/grid.txt");
    EXPECT_EQ(s.SamplingF, 1000);
  }
}

TEST_F(MarksTextImportTest, ApplyAddsNothingWhenTheStoreCannotHoldThemAll) {
  s.MarkCount = kMaxMarks - 1;
  const auto contents = MarksTextImport::Parse("m.txt", kHeader7 + "20 1000 1 0 0\n21 1500 1 0 0\n");
  EXPECT_THROW(MarksTextImport::Apply(s, "m.txt", contents), IoError);
  EXPECT_EQ(s.MarkCount, kMaxMarks - 1);
}

}  // namespace
}  // namespace velmora
