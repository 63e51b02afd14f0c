// Writes the seed corpus of every harness: DIR/<Harness>/<seed>, small well-formed files of
// each kind (and a few at the edges of what the readers take), made by the project's own
// writers so that nobody has to keep binary files.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "core/BundledFiles.h"
#include "marks/MarkSettingsFile.h"
#include "support/E00Builder.h"
#include "support/LabTextBuilder.h"
#include "support/MarkFileBytes.h"
#include "support/NITextBuilder.h"

using namespace velmora;
namespace fs = std::filesystem;

namespace {

void Seed(const fs::path& corpus, const std::string& harness, const std::string& name, const std::string& bytes) {
  fs::create_directories(corpus / harness);
  std::ofstream out(corpus / harness / name, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out.flush()) throw std::runtime_error("cannot write " + (corpus / harness / name).string());
}

void RecordingSeeds(const fs::path& corpus) {
  testing::E00Builder plain;
  plain.channels = 4;
  plain.frames = 60;
  Seed(corpus, "E00Fuzzer", "four-channels", plain.Bytes());
  testing::E00Builder unaligned = plain;
  unaligned.channels = 3;
  unaligned.headerLength = 4100;  // frames do not start on a frame boundary of the header
  Seed(corpus, "E00Fuzzer", "unaligned-header", unaligned.Bytes());
  Seed(corpus, "E00Fuzzer", "cut-last-frame", plain.Bytes() + "\x01\x02\x03");
}

void MatrixSeeds(const fs::path& corpus) {
  for (const BundledFile& file : BundledMatrixFiles()) {
    const bool old = file.text.rfind("-2", 0) != 0;
    Seed(corpus, old ? "OldMatrixFuzzer" : "NewMatrixFuzzer", file.name, file.text);
  }
  Seed(corpus, "NewMatrixFuzzer", "small", testing::NewMatrixText(4, 3, 2.5));
  Seed(corpus, "OldMatrixFuzzer", "small", "4 2 2 1.5\n0 0\n1 0\n0 1\n-1 -1\n");
}

void RecentFilesSeeds(const fs::path& corpus) {
  std::string list;
  for (int k = 0; k < 10; ++k) list += fmt::format("E00\n/data/recording{}.E00\n", k);
  Seed(corpus, "RecentFilesFuzzer", "full", list);
  Seed(corpus, "RecentFilesFuzzer", "short", "E00\n/data/a.E00\nTXT\n");
}

void MarkSeeds(const fs::path& corpus) {
  using testing::HandMark;
  Seed(corpus, "MarkFileFuzzer", "marks",
       testing::MarkFileBytes({HandMark(17, 1000), HandMark(17, 2000), HandMark(18, 1010),
                               HandMark(18, 1500, kSpike), HandMark(17, 900, kReferenceMark),
                               HandMark(20, 1200, kType3)}));
  const int32_t lowest = std::numeric_limits<int32_t>::min(), highest = std::numeric_limits<int32_t>::max();
  Seed(corpus, "MarkFileFuzzer", "extreme-times",
       testing::MarkFileBytes({HandMark(17, lowest), HandMark(17, 1000), HandMark(18, highest),
                               HandMark(18, 1000), HandMark(19, lowest, kReferenceMark)}));
  Seed(corpus, "MarkFileFuzzer", "empty", testing::MarkFileBytes({}));
  Seed(corpus, "MarkJournalFuzzer", "batches",
       "velmora-journal 1\nS 1 17 1 1000 0 0 1 0\nS 2 18 2 1010 0 0 1 0\nC 2\nE 1700000000000\nS 2 18 1 1010 0 0 1 0\nE 1700000000300\n");
  MarkSettings settings;
  settings.marking = {{"run", "automatic SW marking"}, {"matrix", "Ele12Col.txt"}, {"min_diff_value_sw", "-100"}};
  settings.amplitudes = {{"sampling_frequency_hz", "1000"}, {"units_per_mv", "747"}};
  Seed(corpus, "MarkSettingsFuzzer", "both-runs", MarkSettingsFile::Text(settings));
}

void ConnectionSeeds(const fs::path& corpus) {
  std::string text = "/data/rec.C00\r\n3000\r\n2\r\n0\r\n0\r\n0\r\n0\r\n0\r\n\r\n";
  text += "17\t1000\t18\t1010\t1\r\n18\t1010\t19\t1030\t-1\r\n";
  Seed(corpus, "ConnectionFileFuzzer", "two", text);
  Seed(corpus, "ConnectionDrawingFuzzer", "two", text);
}

void TextSeeds(const fs::path& corpus) {
  Seed(corpus, "NITextFuzzer", "rows", testing::NIText(4, [](int row, int channel) {
         return fmt::format("{:.6f}", (row * 7 + channel) % 13 * 1e-4 - 5e-4);
       }));
  Seed(corpus, "TextReaderFuzzer", "numbers", std::string("\x24\x9c", 2) + "1 2 3.5\n-4\t5e3 word\nlast line\n");
  const testing::LabValue tenths = [](int row, int channel) { return fmt::format("{:.1f}", row * 1.5 - channel); };
  Seed(corpus, "LabTextFuzzer", "nashville", std::string("\x00\x04", 2) + testing::NashvilleText(4, 5, tenths));
  Seed(corpus, "LabTextFuzzer", "auckland", std::string("\x01\x00", 2) + testing::AucklandFile{}.Text());
  Seed(corpus, "LabTextFuzzer", "manchester", std::string("\x02\x03", 2) + testing::ManchesterText(3, 4, tenths));
  Seed(corpus, "MarksTextImportFuzzer", "marks",
       "7 header lines\n/data/grid.txt\n1000\n2\n0\nsix\nseven\n20 1000 1 0 0\n21 1010 2 0 0\n");
  Seed(corpus, "TextLinesFuzzer", "lines", std::string("\x01\x02\x03", 3) + "head\nab 1.5 -2 +3e-2\n\ncd 4 5 6\n");
  Seed(corpus, "MarksImportDrawingFuzzer", "marks",
       "7 header lines\n/data/grid.txt\n1000\n3\n0\nsix\nseven\n20 1000 1 0 0\n21 1010 1 0 0\n22 1030 1 0 0\n");
  Seed(corpus, "TextFileFuzzer", "lines", std::string("\x05", 1) + "head\n1.5\n\x1b[2J -2\n3e-2\n");
  Seed(corpus, "PreferenceTextsFuzzer", "pairs", "MinDiffValSW=-150\nSmoothElectrograms=0\nAnimStep=50\n");
  Seed(corpus, "WorkbenchIniFuzzer", "defaults",
       "[General]\ntwoPanes=true\npaneKindB=2\n\n[MyDefaults]\nMinDiffValSW=-150\nSmoothElectrograms=1\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: velmora_fuzz_corpus DIR\n";
    return 2;
  }
  try {
    const fs::path corpus(argv[1]);
    RecordingSeeds(corpus);
    MatrixSeeds(corpus);
    RecentFilesSeeds(corpus);
    MarkSeeds(corpus);
    ConnectionSeeds(corpus);
    TextSeeds(corpus);
  } catch (const std::exception& error) {
    std::cerr << "error: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
