#include <gtest/gtest.h>

#include <memory>

#include "core/AnalysisState.h"
#include "core/DataRoot.h"
#include "core/Errors.h"
#include "input/MatrixChooser.h"
#include "input/MatrixFile.h"
#include "support/E00Builder.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using testing::TempDir;

class MatrixFileTest : public ::testing::Test {
 protected:
  void Load(const std::string& text) {
    s->MatrixFileName = dir.Write("m.txt", text);
    LoadNewMatrix(*s);
  }
  void LoadOld(const std::string& text) {
    s->MatrixFileName = dir.Write("old.txt", text);
    LoadMatrix(*s);
  }
  TempDir dir;
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
};

TEST_F(MatrixFileTest, NewFormatFillsGridAndPositions) {
  Load("-2\n6 3 2 1.5\nany text here\n17 18 19\n20 21 22\n");
  EXPECT_EQ(s->NrElectrodes, 6);
  EXPECT_EQ(s->NrCols, 3);
  EXPECT_EQ(s->NrRows, 2);
  EXPECT_DOUBLE_EQ(s->ElectrodeDistance, 1.5);
  EXPECT_EQ(s->GridCell(1, 1), 17);
  EXPECT_EQ(s->GridCell(3, 2), 22);
  EXPECT_EQ(s->ElectrodeX[size_t(22 - 1)], 3);
  EXPECT_EQ(s->ElectrodeY[size_t(22 - 1)], 2);
  EXPECT_EQ(s->ElectrodeX[size_t(17 - 1)], 1);
  EXPECT_EQ(s->ElectrodeX[size_t(30 - 1)], -1);
  EXPECT_EQ(s->NrTraces, 3);
}

TEST_F(MatrixFileTest, NegativeCellIsEmptyAndZeroIsStoredWithoutPosition) {
  Load("-2\n2 3 1 1\n\n17 -1 0\n");
  EXPECT_EQ(s->GridCell(1, 1), 17);
  EXPECT_EQ(s->GridCell(2, 1), -1);
  EXPECT_EQ(s->GridCell(3, 1), 0);
  for (int channel = 1; channel <= 256; ++channel) {
    if (channel == 17) continue;
    EXPECT_EQ(s->ElectrodeX[size_t(channel - 1)], -1) << channel;
  }
}

// A text whose numbers place no electrode (the recent-files list, a 0 x 0 grid, a grid of
// empty cells) is not a matrix: taking it would leave an empty grid.
TEST_F(MatrixFileTest, AFileWithoutAnElectrodeOnTheGridIsRefused) {
  Load("-2\n6 3 2 1.5\n\n17 18 19\n20 21 22\n");
  struct Case {
    const char* text;
    bool oldFormat;
    const char* problem;
  };
  const Case cases[] = {
      {"1\n/data/rec.E00\n1\n/data/other.E00\n", false, "-2"},  // the recent-files list
      {"0\n4 4 4 4\n", false, "-2"},                               // no format marker
      {"-2\n0 0 0 1\n\n", false, "no electrode"},                  // a 0 x 0 grid
      {"-2\n3 3 1 1\n\n-1 0 -1\n", false, "no electrode"},        // only empty cells and channel 0
      {"0 0 0 1\n", true, "no electrode"},                          // no electrode listed
      {"2 4 2 1\n-1 -1\n-1 5\n", true, "no electrode"},           // every electrode off the grid
      {"1 0 0 1\n0 0\n", true, "no electrode"},                    // a 0 x 0 grid
  };
  for (const Case& c : cases) {
    s->MatrixFileName = dir.Write("notamatrix.txt", c.text);
    try {
      c.oldFormat ? LoadMatrix(*s) : LoadNewMatrix(*s);
      ADD_FAILURE() << c.text << " was taken as a matrix";
    } catch (const IoError& error) {
      EXPECT_EQ(error.Path(), s->MatrixFileName);
      EXPECT_NE(std::string(error.what()).find(c.problem), std::string::npos) << error.what();
    }
    EXPECT_EQ(s->GridCell(1, 1), 17) << c.text;
    EXPECT_EQ(s->ElectrodeX[size_t(22 - 1)], 3) << c.text;
    EXPECT_EQ(s->NrCols, 3) << c.text;
    EXPECT_EQ(s->NrRows, 2) << c.text;
  }
}

TEST_F(MatrixFileTest, DistanceOutside0To100BecomesOne) {
  const char* cases[][2] = {{"-3", "1"}, {"150", "1"}, {"100.5", "1"}, {"0", "0"}, {"100", "100"}, {"nan", "1"}};
  for (const auto& c : cases) {
    Load(std::string("-2\n1 1 1 ") + c[0] + "\n\n17\n");
    EXPECT_DOUBLE_EQ(s->ElectrodeDistance, std::stod(c[1])) << c[0];
  }
}

TEST_F(MatrixFileTest, TileStackedWhenAtLeastTwiceAsWideAsHigh) {
  Load(testing::NewMatrixText(16, 8));
  EXPECT_TRUE(s->TileStacked);
  EXPECT_EQ(s->NrTraces, 16);
  Load(testing::NewMatrixText(15, 8));
  EXPECT_FALSE(s->TileStacked);
  EXPECT_EQ(s->NrTraces, 15);
}

TEST_F(MatrixFileTest, RowsMaySpreadOverLines) {
  Load("-2\n4 2 2\n1.0\ncomment\n17\n18\n19 20\n");
  EXPECT_EQ(s->GridCell(2, 1), 18);
  EXPECT_EQ(s->GridCell(1, 2), 19);
}

TEST_F(MatrixFileTest, BadFilesAreRefusedWithoutTouchingTheGrid) {
  Load("-2\n6 3 2 1.5\n\n17 18 19\n20 21 22\n");
  const std::string bad[] = {
      "-2\n6 3 2 1.5\n\n17 eighteen 19\n20 21 22\n",  // a word where a number belongs
      "-2\n6 3 2 1.5\n\n17 300 19\n20 21 22\n",       // a channel above 256
      "-2\n6 101 2 1.5\n\n",                          // more than 100 columns
      "-2\n6 3 101 1.5\n\n",                          // more than 100 rows
      "-2\n6 3 3 1.5\n\n17 18 19\n20 21 22\n",        // fewer rows than announced
      "-2\n6 3\n",                                    // cut in the counts
      "abc\n",                                        // no marker at all
      "-2\n300 3 2 1.5\n\n17 18 19\n20 21 22\n",      // more electrodes than channels
  };
  for (const std::string& text : bad) {
    s->MatrixFileName = dir.Write("bad.txt", text);
    EXPECT_THROW(LoadNewMatrix(*s), ConversionError) << text;
    EXPECT_EQ(s->GridCell(2, 1), 18) << text;
    EXPECT_EQ(s->NrCols, 3) << text;
    EXPECT_EQ(s->ElectrodeX[size_t(22 - 1)], 3) << text;
  }
}

TEST_F(MatrixFileTest, ErrorsNameFileAndLine) {
  s->MatrixFileName = dir.Write("bad.txt", "-2\n6 3 2 1.5\n\n17 18 19\n20 x 22\n");
  try {
    LoadNewMatrix(*s);
    FAIL();
  } catch (const ConversionError& error) {
    EXPECT_EQ(error.Line(), 5);
    EXPECT_NE(std::string(error.what()).find("bad.txt"), std::string::npos);
  }
}

TEST_F(MatrixFileTest, OldFormatIsZeroBasedAndLaysTheGridAnew) {
  Load("-2\n2 2 1 1\n\n40 41\n");
  LoadOld("3 4 2 2.5\n0 0\n3 1\n-1 5\n");
  EXPECT_EQ(s->NrCols, 4);
  EXPECT_DOUBLE_EQ(s->ElectrodeDistance, 2.5);
  EXPECT_EQ(s->ElectrodeX[0], 1);
  EXPECT_EQ(s->ElectrodeY[0], 1);
  EXPECT_EQ(s->ElectrodeX[1], 4);
  EXPECT_EQ(s->ElectrodeY[1], 2);
  EXPECT_EQ(s->ElectrodeX[2], -1);  // a negative number takes the channel off the grid
  EXPECT_EQ(s->ElectrodeY[2], -1);
  EXPECT_EQ(s->ElectrodeX[39], -1);  // the new-format position is gone
  EXPECT_EQ(s->GridCell(1, 1), 1);  // the grid follows the positions of this file
  EXPECT_EQ(s->GridCell(4, 2), 2);
  EXPECT_EQ(s->GridCell(2, 1), -1);  // the new-format cell of channel 41 is gone
  EXPECT_TRUE(s->TileStacked);       // 4 div 2 >= 2
  EXPECT_EQ(s->NrTraces, 4);
}

TEST_F(MatrixFileTest, OldFormatRefusesPositionsOutsideTheGrid) {
  s->MatrixFileName = dir.Write("old.txt", "1 4 2 1\n100 0\n");
  EXPECT_THROW(LoadMatrix(*s), ConversionError);
  s->MatrixFileName = dir.Write("old.txt", "2 4 2 1\n1 1\n");
  EXPECT_THROW(LoadMatrix(*s), ConversionError);  // fewer lines than electrodes
}

TEST_F(MatrixFileTest, ChooserLoadsRemembersAndListsTheMatrix) {
  DataRoot root(dir.File("root"));
  root.EnsureExists();
  testing::ScriptedUi ui;
  const std::string path = dir.Write("chosen.txt", testing::NewMatrixText(4, 2));
  ui.openDialogAnswers.push_back(Ui::FileDialogResult{path, 1});
  MatrixChooser chooser(*s, ui, root);
  EXPECT_TRUE(chooser.ChangeNewMatrixfile());
  ASSERT_EQ(ui.openDialogs.size(), 1u);
  EXPECT_EQ(ui.openDialogs[0].title, "Open New Matrix File");
  EXPECT_EQ(ui.openDialogs[0].folder, root.NewMatrixFolder());
  EXPECT_EQ(s->MatrixFileName, path);
  EXPECT_EQ(s->DefaultMatrixFileName, path);
  EXPECT_EQ(s->NrCols, 4);
  EXPECT_EQ(testing::ReadFile(root.NewMatrixListPath()), std::string(10, '\n') + path + "\n");
  EXPECT_EQ(testing::ReadFile(root.RecentFilesPath()), std::string(20, '\n'));
}

TEST_F(MatrixFileTest, ChooserReportsAMissingFileAndKeepsTheMatrix) {
  DataRoot root(dir.File("root"));
  testing::ScriptedUi ui;
  s->MatrixFileName = "keep.txt";
  ui.openDialogAnswers.push_back(Ui::FileDialogResult{dir.File("gone.txt"), 1});
  MatrixChooser chooser(*s, ui, root);
  EXPECT_FALSE(chooser.ChangeMatrixfile());
  EXPECT_EQ(ui.openDialogs[0].title, "Open Matrix File");
  EXPECT_EQ(ui.beeps, 1);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], dir.File("gone.txt") + " is not found!");
  EXPECT_EQ(s->MatrixFileName, "keep.txt");
}

TEST_F(MatrixFileTest, ChooserRefusesAFileThatIsNotAMatrixAndKeepsTheOneInUse) {
  DataRoot root(dir.File("root"));
  root.EnsureExists();
  const std::string inUse = dir.Write("inuse.txt", testing::NewMatrixText(4, 2));
  const std::string list = dir.Write("FileList.Txt", "1\n/data/rec.E00\n");
  for (const bool oldFormat : {false, true}) {
    testing::ScriptedUi ui;
    MatrixChooser chooser(*s, ui, root);
    ASSERT_TRUE(chooser.LoadChosenNewMatrix(inUse));
    const std::string listFile = oldFormat ? root.OldMatrixListPath() : root.NewMatrixListPath();
    const std::string listBefore = testing::ReadFile(listFile);
    ui.openDialogAnswers.push_back(Ui::FileDialogResult{list, 1});
    EXPECT_FALSE(oldFormat ? chooser.ChangeMatrixfile() : chooser.ChangeNewMatrixfile());
    EXPECT_EQ(ui.beeps, 1);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find(list), std::string::npos) << ui.errors[0];
    EXPECT_EQ(s->MatrixFileName, inUse);
    EXPECT_EQ(s->DefaultMatrixFileName, inUse);
    EXPECT_EQ(s->NrCols, 4);
    EXPECT_EQ(s->GridCell(4, 2), 24);
    EXPECT_EQ(s->ElectrodeX[size_t(24 - 1)], 4);
    EXPECT_EQ(testing::ReadFile(listFile), listBefore);
  }
}

TEST_F(MatrixFileTest, ChooserCancelLoadsNothing) {
  DataRoot root(dir.File("root"));
  testing::ScriptedUi ui;
  MatrixChooser chooser(*s, ui, root);
  EXPECT_FALSE(chooser.ChangeNewMatrixfile());
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace velmora
