#include "output/MarksTextImport.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string_view>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/AtomicFile.h"
#include "core/EchoedText.h"
#include "core/Errors.h"
#include "core/Limits.h"
#include "core/TextReader.h"
#include "marks/MarkStore.h"

namespace velmora {

namespace {

constexpr int kFixedHeaderLines = 7;
// Mark times are held in 32 bits; the store's times stay well inside that.
constexpr double kLargestTime = 2.0e9;

bool IsMarkKind(int32_t kind) { return kind == kReferenceMark || kind == kSlowWave || kind == kSpike || kind == kType3; }

// The first line starts with the number of header lines; what follows it is a remark.
int32_t ReadHeaderLineCount(TextReader& in) {
  const std::string line = in.ReadLine();
  const size_t start = line.find_first_not_of(" \t");
  int32_t count = 0;
  const char* first = start == std::string::npos ? line.data() + line.size() : line.data() + start;
  const auto [end, ec] = std::from_chars(first, line.data() + line.size(), count);
  if (ec != std::errc() || end == first)
    throw ConversionError(in.Path(), 1, fmt::format("expected the number of header lines, found '{}'",
                                                        EchoedText::Token(line)));
  return count;
}

void ReadHeader(TextReader& in, MarksTextImport::Contents& contents, int32_t& markLines) {
  const int32_t headerLines = ReadHeaderLineCount(in);
  contents.matrixFileName = in.ReadLine();
  const int line = in.LineNumber();
  contents.samplingF = in.ReadInt("the sampling frequency");
  if (contents.samplingF < 1)
    throw ConversionError(in.Path(), line, fmt::format("sampling frequency {} is not a positive number",
                                                       contents.samplingF));
  in.NextLine();
  const int countLine = in.LineNumber();
  markLines = in.ReadInt("the number of marks");
  if (markLines < 0 || markLines > kMaxMarks)
    throw ConversionError(in.Path(), countLine, fmt::format("{} marks cannot be held (0 to {})", markLines,
                                                            kMaxMarks));
  in.NextLine();
  in.ReadInt("a whole number");
  in.NextLine();
  in.NextLine();
  in.NextLine();
  // The count may promise far more lines than the file holds: stop at its end.
  for (int32_t skipped = kFixedHeaderLines; skipped < headerLines && !in.AtEnd(); ++skipped) in.NextLine();
  if (in.AtEnd() && markLines > 0)
    throw ConversionError(in.Path(), in.LineNumber(),
                          fmt::format("the file ends within its {} header lines; the {} marks are missing",
                                      headerLines, markLines));
}

MarksTextImport::Mark ReadMark(TextReader& in) {
  const int line = in.LineNumber();
  MarksTextImport::Mark mark;
  mark.electrode = in.ReadInt("an electrode number");
  const double time = in.ReadReal("a time in ms");
  mark.kind = in.ReadInt("a mark kind");
  in.ReadReal("a number");
  in.ReadReal("a number");
  if (in.LineNumber() != line)
    throw ConversionError(in.Path(), line, "a mark needs five numbers on its line: electrode, time, kind and two more");
  if (mark.electrode < 1 || mark.electrode > kChannels)
    throw ConversionError(in.Path(), line, fmt::format("electrode {} is not from 1 to {}", mark.electrode, kChannels));
  if (!IsMarkKind(mark.kind))
    throw ConversionError(in.Path(), line, fmt::format("mark kind {} is not -1, 1, 2 or 3", mark.kind));
  if (!std::isfinite(time) || std::fabs(time) > kLargestTime)
    throw ConversionError(in.Path(), line, fmt::format("time {} ms is out of range", time));
  mark.time = int32_t(RoundHalfEven(time));
  in.NextLine();
  return mark;
}

// The file name without its folder, whether the folder was written with / or \\ (files made
// on other systems), and without trailing blanks.
std::string ShownName(std::string_view path) {
  const size_t end = path.find_last_not_of(" \t\r");
  path = end == std::string_view::npos ? std::string_view() : path.substr(0, end + 1);
  const size_t slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// Matrix names as a user reads them: the file name alone, in any case.
std::string MatrixNameOnly(std::string_view path) {
  std::string name = ShownName(path);
  for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

}  // namespace

MarksTextImport::Contents MarksTextImport::Read(const std::string& path) { return Parse(path, ReadWholeFile(path)); }

MarksTextImport::Contents MarksTextImport::Parse(const std::string& path, std::string text) {
  TextReader in(path, std::move(text));
  Contents contents;
  int32_t markLines = 0;
  ReadHeader(in, contents, markLines);
  // The count is the file's word: room grows with the marks actually read.
  contents.marks.reserve(size_t(std::min(markLines, kStartMarkSlots)));
  for (int32_t k = 0; k < markLines; ++k) contents.marks.push_back(ReadMark(in));
  return contents;
}

std::string MarksTextImport::Apply(AnalysisState& s, const std::string& path, const Contents& contents) {
  if (int64_t(s.MarkCount) + int64_t(contents.marks.size()) > kMaxMarks)
    throw IoError(path, fmt::format("{} marks do not fit beside the {} marks loaded (at most {})",
                                    contents.marks.size(), s.MarkCount, kMaxMarks));
  for (const Mark& mark : contents.marks) {
    s.PointerChannel = mark.electrode;
    MarkStore::AddMarkRecord(s, mark.time, mark.kind);
  }
  return HeaderDifference(s, path, contents);
}

std::string MarksTextImport::HeaderDifference(const AnalysisState& s, const std::string& path,
                                              const Contents& contents) {
  const std::string named = MatrixNameOnly(contents.matrixFileName);
  const bool otherMatrix = !named.empty() && named != MatrixNameOnly(s.MatrixFileName);
  const bool otherRate = contents.samplingF != s.SamplingF;
  if (!otherMatrix && !otherRate) return {};
  std::string fileSays, recordingKeeps;
  if (otherMatrix) {
    fileSays = "the matrix " + ShownName(contents.matrixFileName);
    recordingKeeps = "its matrix " + ShownName(s.MatrixFileName);
  }
  if (otherRate) {
    const char* joint = otherMatrix ? " and " : "";
    fileSays += fmt::format("{}a rate of {} Hz", joint, contents.samplingF);
    recordingKeeps += fmt::format("{}its rate of {} Hz", joint, s.SamplingF);
  }
  return fmt::format("{} names {}; its marks were added to the recording, which keeps {}.", ShownName(path),
                     fileSays, recordingKeeps);
}

}  // namespace velmora
