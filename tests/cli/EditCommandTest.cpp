#include <gtest/gtest.h>

#include <string>

#include "core/AtomicFile.h"
#include "support/CliRunner.h"
#include "support/E00Builder.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

class EditCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", dir.File("xdg").c_str(), 1);
    matrix = dir.Write("grid.txt", testing::NewMatrixText(16, 15));
    recording = dir.Write("rec.E00", testing::E00Builder{}.Bytes());
  }
  testing::CliRun Run(const std::string& steps) {
    return testing::RunCli("edit " + recording + " --matrix " + matrix + " " + steps, dir.File("stderr.txt"));
  }
  testing::TempDir dir;
  std::string matrix, recording;
};

TEST_F(EditCommandTest, UndoAndRedoWalkTheStepsAndANewEditEndsRedo) {
  const testing::CliRun r = Run("mark:20:100:1 mark:21:200:2 undo undo redo switch:20:0:500 redo undo delete:20:0:500:1");
  ASSERT_EQ(r.status, 0) << testing::ReadFile(dir.File("stderr.txt"));
  EXPECT_EQ(r.out,
            "mark:20:100:1: 1 marks, undo \"mark\", redo \"\"\n"
            "mark:21:200:2: 2 marks, undo \"mark\", redo \"\"\n"
            "undo: 1 marks, undo \"mark\", redo \"mark\"\n"
            "undo: 0 marks, undo \"\", redo \"mark\"\n"
            "redo: 1 marks, undo \"mark\", redo \"mark\"\n"
            "switch:20:0:500: 1 marks, undo \"switch slow wave and spike\", redo \"\"\n"
            "redo (nothing to do): 1 marks, undo \"switch slow wave and spike\", redo \"\"\n"
            "undo: 1 marks, undo \"mark\", redo \"switch slow wave and spike\"\n"
            "delete:20:0:500:1: 1 marks, undo \"delete mark\", redo \"\"\n"
            "20\t-12345\t-12345\t1\n");
  EXPECT_FALSE(FileExists(dir.File("rec.M00")));
}

TEST_F(EditCommandTest, AStepOfTheWrongShapeIsAUsageErrorBeforeAnythingRuns) {
  for (const std::string steps : {"mark:20:100:1 mark:20", "undo x", "delete:20:0:x:1"}) {
    const testing::CliRun r = Run(steps);
    EXPECT_EQ(r.status, 2) << steps;
    EXPECT_EQ(r.out, "") << steps;
  }
}

}  // namespace
}  // namespace velmora
