#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "core/AtomicFile.h"
#include "core/MarkRecord.h"
#include "marks/MarkFile.h"
#include "support/CliRunner.h"
#include "support/MarkFileBytes.h"
#include "support/E00Builder.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using testing::CliRun;

using testing::HandMark;

using testing::MarkFileBytes;

bool HasLine(const std::string& text, const std::string& wanted) {
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (line == wanted) return true;
  return false;
}

// A 3 x 2 grid, electrodes 1.5 mm apart: channels 17, 18, 19 on the top row, 20, 21, 22
// below.
class MapCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", dir.File("xdg").c_str(), 1);
    matrix = dir.Write("grid.txt", testing::NewMatrixText(3, 2));
    recording = dir.Write("rec.E00", testing::E00Builder{}.Bytes());
    // Slow waves everywhere but on 22; 17 also has a later wave and a spike in between.
    marks = dir.Write("rec.M00", MarkFileBytes({HandMark(17, 100), HandMark(18, 115), HandMark(19, 130), HandMark(20, 100),
                                                HandMark(21, 115), HandMark(17, 105, kSpike), HandMark(17, 400)}));
    // A plane wave running along the rows, 15 ms per 1.5 mm: 10 cm/s.
    wave = dir.Write("wave.M00", MarkFileBytes({HandMark(17, 100), HandMark(18, 115), HandMark(19, 130), HandMark(20, 100),
                                                HandMark(21, 115), HandMark(22, 130)}));
  }
  CliRun Run(const std::string& arguments) { return testing::RunCli(arguments, dir.File("stderr.txt")); }
  CliRun Map(const std::string& markFile, const std::string& rest) {
    return Run("map " + recording + " --matrix " + matrix + " --marks " + markFile + " " + rest);
  }
  std::string Errors() const { return testing::ReadFile(dir.File("stderr.txt")); }

  testing::TempDir dir;
  std::string matrix, recording, marks, wave;
};

TEST_F(MapCommandTest, TimeMapPrintsTheEarliestTimesAfterTheReferenceAndEmptyFields) {
  const CliRun r = Map(marks, "--kind time --reference 50");
  ASSERT_EQ(r.status, 0) << Errors();
  const std::string path = r.out.substr(0, r.out.find('\n'));
  EXPECT_NE(path.find("rec.E00"), std::string::npos);
  EXPECT_EQ(r.out.substr(path.size()), "\n\n\t50\t65\t80\n\t50\t65\t");
}

// A reference chosen from the marks' reference marks shifts the map as the same time typed in.
TEST_F(MapCommandTest, AReferenceMarkShiftsTheTimeMapAsItsTimeDoes) {
  const std::string withReference = dir.Write(
      "ref.M00", MarkFileBytes({HandMark(17, 100), HandMark(18, 115), HandMark(19, 130), HandMark(20, 100),
                                HandMark(21, 115), HandMark(22, 50, kReferenceMark)}));
  const CliRun typed = Map(withReference, "--kind time --reference 50");
  const CliRun chosen = Map(withReference, "--kind time --reference-mark 22:50");
  ASSERT_EQ(chosen.status, 0) << Errors();
  EXPECT_EQ(chosen.out, typed.out);
  EXPECT_NE(chosen.out.find("\t50\t65\t80\n"), std::string::npos) << chosen.out;
  EXPECT_EQ(Map(withReference, "--kind time --reference-mark 22:51").status, 1);
  EXPECT_EQ(Map(withReference, "--kind time --reference-mark 22").status, 2);
}

TEST_F(MapCommandTest, DigitFormatWritesSecondsAndTheWindowLeavesLateMarksOut) {
  const CliRun seconds = Map(marks, "--kind time --digits 1");
  ASSERT_EQ(seconds.status, 0) << Errors();
  EXPECT_NE(seconds.out.find("\n\n\t0.100\t0.115\t0.130\n\t0.100\t0.115\t"), std::string::npos) << seconds.out;
  const CliRun late = Map(marks, "--kind time --begin 300 --window 200");
  ASSERT_EQ(late.status, 0) << Errors();
  EXPECT_NE(late.out.find("\n\n\t400\t\t\n\t\t\t"), std::string::npos) << late.out;
}

TEST_F(MapCommandTest, CountMapCountsTheMarksOfThePaneKind) {
  const CliRun waves = Map(marks, "--kind count");
  ASSERT_EQ(waves.status, 0) << Errors();
  EXPECT_NE(waves.out.find("\n\n\t2\t1\t1\n\t1\t1\t0"), std::string::npos) << waves.out;
  const CliRun all = Map(marks, "--kind count --type 0");
  ASSERT_EQ(all.status, 0) << Errors();
  EXPECT_NE(all.out.find("\n\n\t3\t1\t1\n\t1\t1\t0"), std::string::npos) << all.out;
}

TEST_F(MapCommandTest, StatsPrintTheMemoLinesOfTheMap) {
  const CliRun r = Map(marks, "--kind time --reference 50 --stats");
  ASSERT_EQ(r.status, 0) << Errors();
  // 50, 65, 80, 50, 65: mean 62, squared deviations 630 over 5.
  EXPECT_EQ(r.out, " \nTimes\n \nN = 5\nAvg = 62.00\nSD = 11.22\nMax= 80.00\nMin= 50.00\n");
}

TEST_F(MapCommandTest, ArrowsOfAPlaneWaveRunAlongTheRowsAtItsSpeed) {
  const CliRun r = Map(wave, "--kind time --arrows");
  ASSERT_EQ(r.status, 0) << Errors();
  // Cells of 330 pixels from (10, 10); an arrow starts at the square's centre corner and is
  // 0.1 mm/ms x 5000 = 500 pixels long, or ends at the grid's right edge (x 1000).
  EXPECT_EQ(r.out,
            "1\t1\t10.000\t0.000\t339\t340\t839\t340\n"
            "2\t1\t10.000\t0.000\t669\t340\t1000\t340\n");
  const CliRun small = Map(wave, "--kind velocity --arrows --size 340x240");
  ASSERT_EQ(small.status, 0) << Errors();
  EXPECT_EQ(small.out,
            "1\t1\t10.000\t0.000\t119\t120\t340\t120\n"
            "2\t1\t10.000\t0.000\t229\t120\t340\t120\n");
  const CliRun limited = Map(wave, "--kind time --arrows --max-velocity 10");
  ASSERT_EQ(limited.status, 0) << Errors();
  EXPECT_EQ(limited.out, "");
}

TEST_F(MapCommandTest, TheFitGivesEveryElectrodeAnArrowFromItsCentre) {
  // A radius of 3 spacings takes in all six electrodes, enough for a plane at each.
  const std::string plane = " --set VelocityFitQuadratic=0";
  const CliRun r = Map(wave, "--kind time --arrows --velocity-method fit --set VelocityFitRadius=3" + plane);
  ASSERT_EQ(r.status, 0) << Errors();
  EXPECT_TRUE(HasLine(r.out, "1\t1\t10.000\t0.000\t174\t175\t674\t175")) << r.out;
  EXPECT_TRUE(HasLine(r.out, "3\t2\t10.000\t0.000\t834\t505\t1000\t505")) << r.out;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 6);
  // Within one spacing no electrode has the six times a plane needs.
  const CliRun tooFew = Map(wave, "--kind time --arrows --velocity-method fit --set VelocityFitRadius=1" + plane);
  ASSERT_EQ(tooFew.status, 0) << Errors();
  EXPECT_EQ(tooFew.out, "");
}

TEST_F(MapCommandTest, AnUnknownVelocityMethodIsAUsageError) {
  const CliRun r = Map(wave, "--kind time --arrows --velocity-method nearest");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(Errors().find("--velocity-method takes squares, smoothed or fit (not \"nearest\")"), std::string::npos)
      << Errors();
  const std::string render = "render " + recording + " --matrix " + matrix + " --marks " + wave +
                             " --pane map --arrows --velocity-method Fit --out " + dir.File("x.txt");
  EXPECT_EQ(Run(render).status, 2);
  EXPECT_EQ(Map(wave, "--kind time --arrows --set VelocityMethod=3").status, 2);
}

TEST_F(MapCommandTest, ArrowsAreThoseTheMapPaneDraws) {
  const std::string out = dir.File("arrows.txt");
  const std::string render = "render " + recording + " --matrix " + matrix + " --marks " + wave +
                             " --pane map --size 1000x1000 --arrows --out " + out;
  ASSERT_EQ(Run(render + " --kind time").status, 0) << Errors();
  const std::string drawing = testing::ReadFile(out);
  EXPECT_TRUE(HasLine(drawing, "line 339 340 839 340")) << drawing;
  EXPECT_TRUE(HasLine(drawing, "line 669 340 1000 340")) << drawing;
  // A count map's cells are no times: no arrows are drawn, and none are printed.
  ASSERT_EQ(Run(render + " --kind count").status, 0) << Errors();
  EXPECT_FALSE(HasLine(testing::ReadFile(out), "line 339 340 839 340"));
  const CliRun count = Map(wave, "--kind count --arrows");
  EXPECT_EQ(count.status, 2);  // a command line the tool cannot take
  EXPECT_EQ(count.out, "");
  EXPECT_NE(Errors().find("--arrows"), std::string::npos) << Errors();
}

int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST_F(MapCommandTest, MapRenderExportAndPrintTakeTheSameMapOptions) {
  // A plane fitted through all six electrodes gives each a velocity of 10 cm/s; the squares
  // give two. Every other map option is given too, as a user copying a map line would.
  const std::string files = " " + recording + " --matrix " + matrix + " --marks " + wave;
  const std::string options =
      " --kind velocity --velocity-method fit --set VelocityFitRadius=3 --set VelocityFitQuadratic=0 --type 1"
      " --begin 0 --window 1000 --reference 10 --digits 2 --expand --cycles 1 --neighbours 2 --limit-intervals 500"
      " --velocity-step 1 --max-velocity 100";
  const CliRun mapped = Run("map" + files + options);
  ASSERT_EQ(mapped.status, 0) << Errors();
  EXPECT_EQ(Count(mapped.out, "\t10.00"), 6) << mapped.out;
  const CliRun exported = Run("export matrix" + files + options);
  ASSERT_EQ(exported.status, 0) << Errors();
  EXPECT_EQ(exported.out, mapped.out);
  const std::string drawing = dir.File("map.txt");
  ASSERT_EQ(Run("render" + files + " --pane map --no-legend --out " + drawing + options).status, 0) << Errors();
  EXPECT_EQ(Count(testing::ReadFile(drawing), " 10.00\n"), 6);
#ifdef VELMORA_CLI_PICTURES
  const std::string page = dir.File("page.pdf");
  ASSERT_EQ(Run("print" + files + " --panel bottom --out " + page + options).status, 0) << Errors();
  if (std::system("command -v pdftotext > /dev/null 2>&1") != 0) return;
  ASSERT_EQ(std::system(("pdftotext '" + page + "' '" + dir.File("page.txt") + "'").c_str()), 0);
  EXPECT_EQ(Count(testing::ReadFile(dir.File("page.txt")), "10.00"), 6);
#endif
}

TEST_F(MapCommandTest, VelocityMapWritesTheSpeedsOfTheTimeMap) {
  const CliRun r = Map(wave, "--kind velocity");
  ASSERT_EQ(r.status, 0) << Errors();
  // Export format 2: two decimals; the last column and row start no square.
  EXPECT_NE(r.out.find("\n\n\t10.00\t10.00\t\n\t\t\t"), std::string::npos) << r.out;
}

TEST_F(MapCommandTest, BadOptionsEndWithAMessageNamingTheOption) {
  const CliRun kind = Map(marks, "--kind speed");
  EXPECT_EQ(kind.status, 2);
  EXPECT_NE(Errors().find("--kind"), std::string::npos);
  const CliRun type = Map(marks, "--kind time --type 5");
  EXPECT_EQ(type.status, 2);
  EXPECT_NE(Errors().find("--type"), std::string::npos);
  const CliRun step = Map(marks, "--kind time --velocity-step x");
  EXPECT_EQ(step.status, 2);
  EXPECT_NE(Errors().find("--velocity-step"), std::string::npos);
}

TEST_F(MapCommandTest, RenderDrawsTheCellsOfTheMapPane) {
  const std::string out = dir.File("map.txt");
  const CliRun r = Run("render " + recording + " --matrix " + matrix + " --marks " + marks +
                       " --pane map --kind time --size 1000x1000 --out " + out);
  ASSERT_EQ(r.status, 0) << Errors();
  const std::string drawing = testing::ReadFile(out);
  EXPECT_TRUE(HasLine(drawing, "rect 10 10 340 340")) << drawing;
  EXPECT_TRUE(HasLine(drawing, "rect 340 340 670 670")) << drawing;
  EXPECT_FALSE(HasLine(drawing, "rect 670 340 1000 670")) << "the cell without a mark is filled";
  EXPECT_TRUE(HasLine(drawing, "rect 670 340 1001 671")) << "its grid outline is missing";
  EXPECT_NE(drawing.find(" 115\n"), std::string::npos);
}

}  // namespace
}  // namespace velmora
