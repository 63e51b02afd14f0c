#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "maps/MapFixture.h"
#include "output/RealBasicExport.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

class RealBasicExportTest : public testing::MapFixture {
 protected:
  // The 32 electrode lines; `times` gives the "t " fields of the lines that have any.
  static std::string Block(const std::map<int, std::string>& times) {
    std::string text;
    for (int n = 1; n <= 32; ++n) {
      const auto found = times.find(n);
      text += std::to_string(n) + " " + (found == times.end() ? "" : found->second) + " \n";
    }
    return text;
  }
};

TEST_F(RealBasicExportTest, SlowWaveOnElectrode70IsLineSix) {
  AddMark(70, 1, 1200);
  EXPECT_EQ(RealBasicExport::MarksText(*s), Block({{6, "1200 "}}));
}

TEST_F(RealBasicExportTest, ReferenceMarksOfElectrode4LeadAndOtherMarksStayOut) {
  AddMark(65, 1, 300);
  AddMark(4, -1, 900);
  AddMark(96, 1, 50);
  AddMark(4, 1, 950);      // electrode 4 gives its reference marks only
  AddMark(5, -1, 960);     // other electrodes give no reference marks
  AddMark(64, 1, 10);      // outside 65..96
  AddMark(97, 1, 10);
  AddMark(65, 2, 310);     // not the pane's mark type
  AddMark(65, s->NoValue, 320);
  AddMark(65, 1, 100);     // store order, not time order
  AddMark(4, -1, 20);
  const std::string expected = "4 900 \n4 20 \n" + Block({{1, "300 100 "}, {32, "50 "}});
  EXPECT_EQ(RealBasicExport::MarksText(*s), expected);
}

TEST_F(RealBasicExportTest, TimesAreOfTheActivePanesMarkType) {
  AddMark(66, 1, 100);
  AddMark(66, 2, 200);
  s->MarkType = {1, 2};
  s->ActivePane = 2;
  EXPECT_EQ(RealBasicExport::MarksText(*s), Block({{2, "200 "}}));
  s->MarkType = {1, 0};
  EXPECT_EQ(RealBasicExport::MarksText(*s), Block({}));
}

TEST_F(RealBasicExportTest, WritesWhereTheDialogSaysAndNothingOnCancel) {
  testing::TempDir dir;
  testing::ScriptedUi ui;
  s->ElgFileName = dir.File("REC.E00");
  AddMark(70, 1, 1200);
  EXPECT_EQ(RealBasicExport::SaveMarksToRealBasic(*s, ui), std::nullopt);
  ASSERT_EQ(ui.saveDialogs.size(), 1u);
  EXPECT_EQ(ui.saveDialogs[0].folder, dir.File("REC.TXT"));
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));

  const std::string target = dir.Write("REC.TXT", "earlier");
  ui.saveDialogAnswers.push_back(Ui::FileDialogResult{target, 1});
  EXPECT_EQ(RealBasicExport::SaveMarksToRealBasic(*s, ui), target);
  EXPECT_EQ(testing::ReadFile(target), Block({{6, "1200 "}}));
}

}  // namespace
}  // namespace velmora
