#include <gtest/gtest.h>

#include <memory>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/DataRoot.h"
#include "core/Errors.h"
#include "input/AucklandHeader.h"
#include "input/E00Reader.h"
#include "input/LabImport.h"
#include "marks/MarkStore.h"
#include "support/E00Builder.h"
#include "support/LabTextBuilder.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using Breaks = testing::AucklandFile::Breaks;
using Values = LabImport::PanelValues;

// Row r, channel c holds r x 100 + c: as it is, and in volts for microvolts.
std::string Plain(int row, int channel) { return std::to_string(row * 100 + channel); }
std::string Microvolts(int row, int channel) { return fmt::format("{:.6f}", (row * 100 + channel) / 1e6); }

// An E00 recording with one mark is loaded before every import, so that each test can see
// what of it a refused or cancelled import leaves.
class LabImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root.EnsureExists();
    s->DefaultMatrixFileName = dir.Write("grid.txt", testing::NewMatrixText(16, 15));
    s->SmoothElectrograms = false;
    e00 = dir.Write("first.E00", testing::E00Builder{}.Bytes());
    E00Reader(*s, ui, root).Open(e00);
    s->PointerChannel = 30;
    MarkStore::AddMarkRecord(*s, 500, kSlowWave);
    s->MarksChanged = false;
    before = s->Signal(900, 100);
    ui = testing::ScriptedUi();
  }
  bool Import(int kind, const std::string& path, const Values& values = {"48", "65500", "30", "NewE48.txt"}) {
    return LabImport(*s, ui, root).Import(kind, path, values);
  }
  std::string WriteAuckland(const std::string& name, const testing::AucklandFile& file) {
    return dir.Write(name, file.Text());
  }
  // The E00 recording is still the loaded one, with its time base and its mark.
  void ExpectEarlierRecordingLoaded() {
    EXPECT_EQ(s->ElgFileName, e00);
    EXPECT_EQ(s->SigLength, 980);
    EXPECT_EQ(s->SamplingF, 1000);
    EXPECT_EQ(s->NrCols, 16);
    EXPECT_EQ(s->NrRows, 15);
    EXPECT_EQ(s->MatrixFileName, s->DefaultMatrixFileName);
    EXPECT_EQ(s->Signal(900, 100), before);
    EXPECT_EQ(s->MarkCount, 1);
  }

  testing::TempDir dir;
  DataRoot root{dir.File("root")};
  testing::ScriptedUi ui;
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  std::string e00;
  int32_t before = 0;
};

TEST_F(LabImportTest, AucklandHeaderGoesToThePanelAndTheMemo) {
  testing::AucklandFile file;
  file.rate = "250.5";
  LabImport import(*s, ui, root);
  import.LoadImportFile(LabImport::kAuckland, WriteAuckland("auck.txt", file));
  const ImportPanel panel = import.ShowImportPanel();
  EXPECT_EQ(panel.layoutLabel, "Auckland Text File format");
  EXPECT_EQ(panel.fileNameLabel, "auck.txt");
  EXPECT_EQ(panel.maxSamplesLabel, "Maximum number of samples = " + std::to_string(s->MaxSamples));
  EXPECT_GT(s->MaxSamples, 65500);  // what memory holds, not the old store's capacity
  const std::vector<std::string> values = {"10", "4", "3", "250.5", "0.25", "C:/MyNewMatrix/NewE48.txt",
                                           "antrum, fasted, 37 C"};
  EXPECT_EQ(panel.headerValues, values);
  const std::vector<std::string> memo = {"NrHeaderlines=10", "NrChannels=4", "NrSamples=3", "SamplingRate=250.5",
                                         "AucklandCalibration=0.25", "MatrixFileName=C:/MyNewMatrix/NewE48.txt",
                                         "Comments=antrum, fasted, 37 C"};
  EXPECT_EQ(ui.log, memo);
  EXPECT_TRUE(panel.warning1.empty());
  EXPECT_EQ(s->AucklandHeaderLines, 10);
  EXPECT_EQ(s->AucklandCalibration, 0.25);
  EXPECT_EQ(s->ImportNrSamples, 3);
}

TEST_F(LabImportTest, SamplesFollowAsManyHeaderLinesAsTheFirstLineSays) {
  testing::AucklandFile file;
  file.headerLines = 12;  // lines 11 and 12 hold words and numbers that must not be read
  file.matrix = "C:\\MyNewMatrix\\NewE16.txt";
  ASSERT_TRUE(Import(LabImport::kAuckland, WriteAuckland("auck.txt", file)));
  EXPECT_EQ(s->Signal(0, 0), 1100);
  EXPECT_EQ(s->Signal(2, 3), 3400);
  // The matrix folder of the machine that wrote the header is the data root's here.
  EXPECT_EQ(s->MatrixFileName, root.NewMatrixFolder() + "/NewE16.txt");
}

TEST_F(LabImportTest, TheThreeAucklandNumberStreamsGiveTheSameStore) {
  for (Breaks breaks : {Breaks::RowPerLine, Breaks::OneLine, Breaks::NumberPerLine}) {
    SCOPED_TRACE(int(breaks));
    testing::AucklandFile file;
    file.breaks = breaks;
    ASSERT_TRUE(Import(LabImport::kAuckland, WriteAuckland(fmt::format("auck{}.txt", int(breaks)), file)));
    for (int r = 1; r <= 3; ++r)
      for (int c = 1; c <= 4; ++c) EXPECT_EQ(s->Signal(r - 1, c - 1), (r * 10 + c) * 100);
    EXPECT_EQ(s->Signal(0, 4), 0);
    EXPECT_EQ(s->SigLength, 3);
  }
}

struct Scaling {
  int kind;
  const char* text;
  int32_t stored;
};

TEST_F(LabImportTest, EachLayoutScalesAndRoundsHalvesToEven) {
  const Scaling cases[] = {
      {LabImport::kAuckland, "1.234", 123},     {LabImport::kAuckland, "-0.005", 0},
      {LabImport::kNashville, "17.5", 18},      {LabImport::kNashville, "16.5", 16},
      {LabImport::kNashville, "-2.5", -2},      {LabImport::kManchester, "0.00042", 420},
      {LabImport::kManchester, "-0.0000005", 0}, {LabImport::kManchester, "0.0000015", 2},
  };
  int n = 0;
  for (const Scaling& scaling : cases) {
    SCOPED_TRACE(scaling.text);
    const std::string name = fmt::format("lab{}.txt", ++n);
    const auto value = [&](int, int channel) { return channel == 2 ? std::string(scaling.text) : "0"; };
    std::string path;
    if (scaling.kind == LabImport::kAuckland) {
      testing::AucklandFile file;
      file.value = value;
      path = WriteAuckland(name, file);
    } else {
      path = dir.Write(name, scaling.kind == LabImport::kNashville ? testing::NashvilleText(4, 3, value)
                                                                        : testing::ManchesterText(4, 3, value));
    }
    ASSERT_TRUE(Import(scaling.kind, path, {"4", "3", "1000", "grid.txt"}));
    EXPECT_EQ(s->Signal(2, 1), scaling.stored);
  }
}

TEST_F(LabImportTest, NashvilleAt30HzGivesTheSignalLengthInMilliseconds) {
  const std::string path = dir.Write("nash.txt", testing::NashvilleText(48, 900, Plain));
  LabImport import(*s, ui, root);
  import.LoadImportFile(LabImport::kNashville, path);
  ImportPanel panel = import.ShowImportPanel();
  EXPECT_EQ(panel.layoutLabel, "Nashville Text File format");
  EXPECT_EQ(panel.channelsEdit, "48");
  EXPECT_EQ(panel.rateEdit, "30");
  ASSERT_TRUE(import.TakePanelValues({panel.channelsEdit, "900", panel.rateEdit, "NewE48.txt"}, panel));
  ASSERT_TRUE(import.ReadNashvilleData());
  EXPECT_EQ(s->SigLength, 30000);
  EXPECT_TRUE(s->SamplingFChanged);
  EXPECT_EQ(s->SamplingF, 30);
  EXPECT_EQ(s->WindowA, 30000);
  EXPECT_EQ(s->WindowB, 30000);
  EXPECT_EQ(s->WindowAll, 30000);
  EXPECT_EQ(s->Signal(899, 47), 90048);
  EXPECT_EQ(s->MatrixFileName, root.NewMatrixFolder() + "/NewE48.txt");
  EXPECT_EQ(s->InputFileKind, LabImport::kNashville);
  EXPECT_EQ(ui.progressPanels.at(0).maximum, 9);
  EXPECT_EQ(ui.progressSteps, 9);
  EXPECT_EQ(ui.progressTexts.back(), "reading line nr = 900");
}

TEST_F(LabImportTest, ALoadReplacesEverythingOfTheEarlierRecording) {
  const std::string path = dir.Write("run7.dat2", testing::ManchesterText(64, 250, Microvolts));
  // First all 64 channels of the same length: the store of the same size is kept and rewritten.
  ASSERT_TRUE(Import(LabImport::kManchester, path, {"64", "250", "1000", "NewOstrand64.txt"}));
  ASSERT_NE(s->Signal(249, 20), 0);
  // The channels read, not the E00 recording's, in the state and in the new mark file's header.
  EXPECT_EQ(s->NrChannelsInFile, 64);
  const std::string header = testing::ReadFile(dir.File("run7.Mxt"));
  ASSERT_GE(header.size(), 88u);
  EXPECT_EQ(uint8_t(header[86]) | uint8_t(header[87]) << 8, 64);
  s->SamplingF = 30;
  s->SamplingFChanged = true;
  s->BeginA = 200;  // the panes looked far into the recording before
  s->BeginB = 120;
  s->BeginAll = 100;
  ASSERT_TRUE(Import(LabImport::kManchester, path, {"20", "250", "1000", "NewOstrand64.txt"}));
  EXPECT_EQ(s->SigLength, 250);
  EXPECT_EQ(s->BeginA, 0);
  EXPECT_EQ(s->BeginB, 0);
  EXPECT_EQ(s->BeginAll, 0);
  EXPECT_FALSE(s->SamplingFChanged);
  EXPECT_EQ(s->NrTraces, 20);
  EXPECT_EQ(s->NrElectrodes, 20);
  EXPECT_EQ(s->NrCols, 16);
  EXPECT_EQ(s->NrRows, 1);
  EXPECT_EQ(s->ElectrodeX[19], 20);
  EXPECT_EQ(s->ElectrodeY[19], 1);
  EXPECT_EQ(s->ElectrodeX[20], -1);  // an earlier layout's entry
  EXPECT_EQ(s->Signal(249, 19), 25020);
  EXPECT_EQ(s->Signal(249, 20), 0);  // a channel beyond the file's
  EXPECT_EQ(s->SignalRows(), 250);  // no row beyond it
  EXPECT_EQ(s->MarkCount, 0);
  EXPECT_EQ(s->ElgFileName, path);
  EXPECT_EQ(s->MarkFileName, dir.File("run7.Mxt"));
  EXPECT_EQ(s->NrChannelsInFile, 20);
}

TEST_F(LabImportTest, TooManySamplesAreWarnedAboutAndCut) {
  testing::AucklandFile file;
  file.channels = "1";
  file.samples = "70000";
  file.rows = 66000;
  const std::string path = WriteAuckland("long.txt", file);
  s->MaxSamples = 65500;  // a limit of the old store's size, to cut at
  LabImport import(*s, ui, root);
  import.LoadImportFile(LabImport::kAuckland, path);
  const ImportPanel panel = import.ShowImportPanel();
  EXPECT_EQ(panel.warning1, "WARNING *** There are too many samples in this file ***");
  EXPECT_EQ(panel.warning2, "*** The file will be truncated to 65500 samples ***");
  EXPECT_EQ(ui.beeps, 1);
  ASSERT_TRUE(import.ReadAucklandData());
  // The length covers the rows read, not the header's count.
  EXPECT_EQ(s->SigLength, 65500);
  EXPECT_EQ(s->Signal(65499, 0), (65500 * 10 + 1) * 100);
  EXPECT_EQ(s->SignalRows(), 65500);

  ImportPanel nashville;
  LabImport panelOnly(*s, ui, root);
  ASSERT_TRUE(panelOnly.TakePanelValues({"48", "70000", "30", "NewE48.txt"}, nashville));
  EXPECT_EQ(s->ImportNrSamples, 65500);
  EXPECT_EQ(nashville.warning2, "*** The file will be truncated to 65500 samples ***");
}

TEST_F(LabImportTest, AFileShorterThanItsCountGivesTheRowsItHoldsAndSaysSo) {
  testing::AucklandFile file;
  file.samples = "500";
  file.rate = "500";
  file.rows = 120;
  ASSERT_TRUE(Import(LabImport::kAuckland, WriteAuckland("short.txt", file)));
  EXPECT_EQ(s->SigLength, 240);
  EXPECT_EQ(s->WindowA, 240);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].find("only 120 of the 500"), std::string::npos) << ui.messages[0];
}

TEST_F(LabImportTest, CancelLeavesTheLoadedRecordingAsItWas) {
  testing::AucklandFile file;
  file.rate = "30";
  const std::string paths[] = {dir.Write("n.txt", testing::NashvilleText(48, 10, Plain)),
                               WriteAuckland("a.txt", file),
                               dir.Write("m.txt", testing::ManchesterText(64, 10, Plain))};
  for (int kind = LabImport::kNashville; kind <= LabImport::kManchester; ++kind) {
    SCOPED_TRACE(kind);
    LabImport import(*s, ui, root);
    import.LoadImportFile(kind, paths[kind - LabImport::kNashville]);
    import.ShowImportPanel();
    ExpectEarlierRecordingLoaded();
    EXPECT_EQ(s->NrTraces, 16);
    EXPECT_FALSE(s->SamplingFChanged);
  }
}

struct BadPanel {
  Values values;
  const char* field;
};

TEST_F(LabImportTest, PanelValuesNoRecordingCanHaveAreRefusedNamingTheField) {
  const BadPanel cases[] = {
      {{"x48", "900", "30", "NewE48.txt"}, "Nr Channels"},  {{"48", "9.5", "30", "NewE48.txt"}, "Nr Samples"},
      {{"48", "900", "", "NewE48.txt"}, "Sampling rate"},   {{"48", "900", "0", "NewE48.txt"}, "Sampling rate"},
      {{"48", "900", "-30", "NewE48.txt"}, "Sampling rate"}, {{"0", "900", "30", "NewE48.txt"}, "Nr Channels"},
      {{"-1", "900", "30", "NewE48.txt"}, "Nr Channels"},   {{"257", "900", "30", "NewE48.txt"}, "Nr Channels"},
      {{"48", "-1", "30", "NewE48.txt"}, "Nr Samples"},     {{"48", "900", "30", ""}, "Matrix file name"},
  };
  const std::string path = dir.Write("nash.txt", testing::NashvilleText(48, 900, Plain));
  for (const BadPanel& bad : cases) {
    SCOPED_TRACE(bad.field);
    ui.errors.clear();
    EXPECT_FALSE(Import(LabImport::kNashville, path, bad.values));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].rfind(bad.field, 0), 0u) << ui.errors[0];
    ExpectEarlierRecordingLoaded();
  }
  EXPECT_FALSE(FileExists(dir.File("nash.Mxt")));
  ImportPanel panel;
  EXPECT_TRUE(LabImport(*s, ui, root).TakePanelValues({"256", "900", "1", "NewE48.txt"}, panel));
}

TEST_F(LabImportTest, ThePanelsOwnZeroOrNoSampleCountReadsTheWholeFile) {
  int n = 0;
  for (const char* samples : {"0", "", " "}) {
    SCOPED_TRACE(samples);
    const std::string path = dir.Write(fmt::format("nash{}.txt", ++n), testing::NashvilleText(48, 90, Plain));
    ui = testing::ScriptedUi();
    ASSERT_TRUE(Import(LabImport::kNashville, path, {"48", samples, "30", "NewE48.txt"}));
    EXPECT_EQ(s->SigLength, 3000);  // 90 rows at 30 Hz
    EXPECT_EQ(s->Signal(89, 47), 9048);
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.at(0);  // no shortfall to tell of
    EXPECT_TRUE(ui.errors.empty());
  }
}

struct BadFile {
  const char* name;
  int kind;
  std::string text;
  int line;  // 0: no line named
  const char* problem;
};

std::vector<BadFile> BadFiles() {
  std::string shortRow = testing::NashvilleText(48, 5, Plain);
  shortRow.replace(shortRow.rfind("\t548"), std::string::npos, "\n");
  std::string word = testing::ManchesterText(48, 4, Plain);
  word.replace(word.find("\t205"), 4, "\tn/a");
  const auto header = [](auto change) {
    testing::AucklandFile file;
    change(file);
    return file.Text();
  };
  std::string brokenRow = header([](testing::AucklandFile&) {});
  brokenRow.erase(brokenRow.rfind("34"));
  return {
      {"short.txt", LabImport::kNashville, shortRow, 8, "47 of the 48"},
      {"word.txt", LabImport::kManchester, word, 5, "'n/a'"},
      {"channels.txt", LabImport::kAuckland, header([](auto& f) { f.channels = "-4"; }), 2, "-4 channels"},
      {"toomany.txt", LabImport::kAuckland, header([](auto& f) { f.channels = "300"; }), 2, "300 channels"},
      {"samples.txt", LabImport::kAuckland, header([](auto& f) { f.samples = "-1"; }), 3, "-1 samples"},
      {"lines.txt", LabImport::kAuckland, header([](auto& f) { f.headerLines = -2; }), 1, "-2 lines"},
      {"rate.txt", LabImport::kAuckland, header([](auto& f) { f.rate = "0"; }), 4, "0 Hz"},
      {"nonumber.txt", LabImport::kAuckland, header([](auto& f) { f.samples = "many"; }), 3, "found 'many'"},
      {"broken.txt", LabImport::kAuckland, brokenRow, 13, "within sample row 3"},
      {"empty.txt", LabImport::kNashville, "", 1, "header"},
      {"tiny.txt", LabImport::kAuckland, "1", 1, "header"},
      {"headeronly.txt", LabImport::kManchester, "a\nb\nc\n", 3, "no sample rows"},
      {"binary.txt", LabImport::kNashville, std::string("\x7f" "ELF\0\0\x01", 7) + std::string(64, '\0'), 0,
       "not a text file"},
  };
}

TEST_F(LabImportTest, ABadFileIsRefusedNamingFileAndLineAndNothingChanges) {
  for (const BadFile& bad : BadFiles()) {
    SCOPED_TRACE(bad.name);
    ui.errors.clear();
    const std::string path = dir.Write(bad.name, bad.text);
    EXPECT_FALSE(Import(bad.kind, path));
    ASSERT_EQ(ui.errors.size(), 1u);
    const std::string& error = ui.errors[0];
    EXPECT_EQ(error.rfind(path, 0), 0u) << error;
    if (bad.line > 0) {
      EXPECT_NE(error.find(fmt::format("line {}:", bad.line)), std::string::npos) << error;
    }
    EXPECT_NE(error.find(bad.problem), std::string::npos) << error;
    EXPECT_FALSE(FileExists(TextRecording::MarkFileNameFor(path)));
    ExpectEarlierRecordingLoaded();
  }
  ui.errors.clear();
  EXPECT_FALSE(Import(LabImport::kNashville, dir.File("missing.txt")));
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_NE(ui.errors[0].find(dir.File("missing.txt")), std::string::npos);
  ExpectEarlierRecordingLoaded();
}

}  // namespace
}  // namespace velmora
