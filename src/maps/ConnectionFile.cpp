#include "maps/ConnectionFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <numeric>
#include <string_view>
#include <tuple>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/EchoedText.h"
#include "core/Errors.h"
#include "core/Ui.h"

namespace velmora {

namespace {

constexpr int kFirstRecordLine = 10;
constexpr std::string_view kZeroReal = " 0.00000000000000E+0000";

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t pos = 0;
  while (true) {
    pos = line.find_first_not_of(" \t", pos);
    if (pos == std::string_view::npos) return fields;
    const size_t end = std::min(line.find_first_of(" \t", pos), line.size());
    fields.push_back(line.substr(pos, end - pos));
    pos = end;
  }
}

// Reads the lines of one file, each failure naming the file and the line.
class LineReader {
 public:
  LineReader(const std::string& path, std::string_view text) : path_(path), lines_(SplitLines(text)) {}

  int LineCount() const { return int(lines_.size()); }

  std::string_view Line(int number, std::string_view what) const {
    if (number > LineCount()) Fail(number, fmt::format("the file ends where {} was expected", what));
    return lines_[size_t(number - 1)];
  }

  std::vector<int32_t> Ints(int number, size_t count, std::string_view what) const {
    const std::vector<std::string_view> fields = Fields(Line(number, what));
    if (fields.size() != count)
      Fail(number, fmt::format("expected {} ({} whole number{}), found {} value{}", what, count, count == 1 ? "" : "s",
                               fields.size(), fields.size() == 1 ? "" : "s"));
    std::vector<int32_t> values;
    for (std::string_view field : fields) values.push_back(Int(number, field, what));
    return values;
  }

  void Real(int number, std::string_view what) const {
    const std::vector<std::string_view> fields = Fields(Line(number, what));
    double value = 0;
    const std::string_view token = fields.size() == 1 ? fields[0] : std::string_view();
    auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (fields.size() != 1 || ec != std::errc() || end != token.data() + token.size())
      Fail(number, fmt::format("expected {} (a number), found '{}'", what, EchoedText::Token(Line(number, what))));
  }

  [[noreturn]] void Fail(int number, const std::string& problem) const {
    throw ConversionError(path_, number, problem);
  }

 private:
  int32_t Int(int number, std::string_view token, std::string_view what) const {
    std::string_view digits = token;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    int32_t value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec == std::errc::result_out_of_range) Fail(number, fmt::format("{} '{}' is out of range", what, EchoedText::Token(token)));
    if (ec != std::errc() || end != digits.data() + digits.size())
      Fail(number, fmt::format("expected {} (whole numbers), found '{}'", what, EchoedText::Token(token)));
    return value;
  }

  const std::string& path_;
  std::vector<std::string_view> lines_;
};

ConnectionRecord ReadRecord(const LineReader& reader, int line) {
  const std::vector<int32_t> v = reader.Ints(line, 5, "a connection");
  const bool deleted = v[0] < 1;
  if (deleted) return {v[0], v[1], v[2], v[3], 0};
  if (v[0] > kChannels || v[2] < 1 || v[2] > kChannels)
    reader.Fail(line, fmt::format("a connection joins channels 1 to {}, not {} and {}", kChannels, v[0], v[2]));
  if (v[4] != 1 && v[4] != -1) reader.Fail(line, fmt::format("the direction must be 1 or -1, not {}", v[4]));
  return {v[0], v[1], v[2], v[3], int16_t(v[4])};
}

}  // namespace

std::string ConnectionFile::FileNameFor(const std::string& recording, const std::string& markFile) {
  if (recording.empty()) return {};
  const size_t nameStart = recording.rfind('/') == std::string::npos ? 0 : recording.rfind('/') + 1;
  const size_t dot = recording.rfind('.');
  const bool hasExtension = dot != std::string::npos && dot >= nameStart && dot + 1 < recording.size();
  if (hasExtension) {
    std::string name = recording;
    name[dot + 1] = std::islower(static_cast<unsigned char>(recording[dot + 1])) ? 'c' : 'C';
    if (name != recording && name != markFile) return name;
  }
  return recording + ".C00";
}

void ConnectionFile::DropDuplicates(AnalysisState& s) {
  std::vector<int> order(size_t(std::max(s.ConnectionCount, 0)));
  std::iota(order.begin(), order.end(), 1);
  auto key = [&s](int n) {
    const ConnectionRecord& r = s.Connection(n);
    return std::tuple(r.FromChannel, r.FromTime, r.ToChannel, r.ToTime);
  };
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
  // Within a group of equal records, in table order, every one but the last is dropped.
  for (size_t i = 0; i + 1 < order.size(); ++i) {
    if (key(order[i]) == key(order[i + 1])) s.Connection(order[i]).FromChannel = -1;
  }
}

std::string ConnectionFile::Serialize(const AnalysisState& s, const std::string& path) {
  std::string text;
  auto line = [&text](std::string_view content) {
    text += content;
    text += "\r\n";
  };
  line(path);
  line(std::to_string(s.SigLength));
  line(std::to_string(s.ConnectionCount));
  line(kZeroReal);
  line(kZeroReal);
  for (int i = 0; i < 3; ++i) line("0");
  line("");
  for (int n = 1; n <= s.ConnectionCount; ++n) {
    const ConnectionRecord& r = s.Connection(n);
    if (r.FromChannel >= 1)
      line(fmt::format("{}\t{}\t{}\t{}\t{}", r.FromChannel, r.FromTime, r.ToChannel, r.ToTime, r.Direction));
  }
  return text;
}

ConnectionFileContents ConnectionFile::Parse(const std::string& path, const std::string& text) {
  const LineReader reader(path, text);
  ConnectionFileContents contents;
  contents.ownPath = std::string(reader.Line(1, "the file's own path"));
  contents.sigLength = reader.Ints(2, 1, "the signal length")[0];
  contents.count = reader.Ints(3, 1, "the number of connections")[0];
  if (contents.count < 0) reader.Fail(3, fmt::format("the number of connections is negative ({})", contents.count));
  reader.Real(4, "a real number");
  reader.Real(5, "a real number");
  for (int line = 6; line <= 8; ++line) reader.Ints(line, 1, "a whole number");
  // A count beyond the lines written is harmless: the missing records read as deleted ones.
  const int64_t lastLine = std::min<int64_t>(int64_t(kFirstRecordLine) + contents.count - 1, reader.LineCount());
  for (int line = kFirstRecordLine; line <= lastLine && int(contents.records.size()) < kMaxConnections; ++line) {
    const ConnectionRecord record = ReadRecord(reader, line);
    if (record.FromChannel >= 1) contents.records.push_back(record);
  }
  return contents;
}

void ConnectionFile::ApplyConnections(AnalysisState& s, Ui& ui, const ConnectionFileContents& contents) {
  s.ConnectionFileName = contents.ownPath;
  ui.Log(s.ElgFileName);
  ui.Log(std::to_string(contents.sigLength));
  ui.Log(std::to_string(contents.count));
  s.ConnectionCount = int32_t(contents.records.size());
  std::copy(contents.records.begin(), contents.records.end(), s.Connections.begin());
  ui.Log("new nr connect: " + std::to_string(s.ConnectionCount));
}

void ConnectionFile::SaveConnections(AnalysisState& s) {
  const std::string path = FileNameFor(s.ElgFileName, s.MarkFileName);
  if (path.empty()) throw IoError("the connection file", "no recording is loaded to name it after");
  s.ConnectionFileName = path;
  DropDuplicates(s);
  WriteFileAtomically(path, Serialize(s, path));
  s.ConnectionsChanged = false;
}

bool ConnectionFile::ReadConnections(AnalysisState& s, Ui& ui) {
  Ui::FileDialogRequest request;
  request.title = "Open connection file";
  request.filters = {"Connection files (*.C* *.c*)", "All files (*)"};
  const auto chosen = ui.OpenFileDialog(request);
  if (!chosen) return false;
  try {
    ApplyConnections(s, ui, Parse(chosen->path, ReadWholeFile(chosen->path)));
    return true;
  } catch (const IoError& error) {
    ui.Beep();
    ui.Error(std::string(error.what()) + "\nThe connections have not been read.");
    return false;
  }
}

}  // namespace velmora
