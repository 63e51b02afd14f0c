#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "input/DecimalBlock.h"

namespace velmora {

// Walks the lines of a text recording held in memory and reads the numbers of one line,
// refusing with a ConversionError that names the file and the line.
class TextLines {
 public:
  // No line of a text recording is longer; a file with one is none (or a binary file).
  static constexpr size_t kMostLineBytes = size_t(1) << 20;

  TextLines(std::string path, std::string_view text) : path_(std::move(path)), text_(text) {}
  // Walks `text` from `start`, the beginning of a line with `linesBefore` lines before it.
  TextLines(std::string path, std::string_view text, size_t start, int linesBefore)
      : path_(std::move(path)), text_(text), next_(start), line_(linesBefore) {}

  // Refuses a file with NUL bytes near its start: a binary file chosen by mistake.
  void RefuseBinary() const;
  // Skips `count` header lines; throws when the file ends before they are through.
  void SkipHeader(int count);
  // Moves to the next line that holds anything; false when only blank lines remain.
  bool NextDataLine();
  // Moves to the next line, blank or not; throws `missing` when the file has no more lines.
  void NextLine(const std::string& missing);
  // The current line as it stands, without its line end.
  std::string_view CurrentLine() const { return current_; }
  // Drops the rest of the current line.
  void FinishLine() { current_ = {}; }
  // For numbers that run on over line ends: moves on until a number is in sight; false when
  // only blanks and line ends remain.
  bool SkipToNumber();
  // Skips up to `count` characters of the current line.
  void SkipCharacters(size_t count);
  // The next number of the current line times `scale`, rounded halves to even.
  int32_t ReadScaled(double scale, int index, int count);
  // The next `count` numbers of the current line into `row`, as `count` calls of ReadScaled
  // would read them (the same values, the same refusals), in one tight pass.
  void ReadScaledRow(double scale, int32_t* row, int count);
  // The next number of the current line; `what` names it when it is missing or no number.
  double ReadReal(const std::string& what);
  // The number ReadScaled read last, unscaled.
  double LastValue() const;
  // Number of the current line, from 1.
  int LineNumber() const { return line_; }
  const std::string& Path() const { return path_; }
  std::string_view Text() const { return text_; }
  // Where the line after the current one begins.
  size_t NextLineStart() const { return next_; }
  [[noreturn]] void Fail(const std::string& problem) const;

 private:
  // The next blank-delimited word of the current line; empty when the line holds no more.
  std::string_view NextToken();
  static bool ParseNumber(std::string_view token, double& value);
  void NextLineAnyway();
  void SetLastValue(double value) {
    last_ = value;
    lastWord_ = {};
  }
  void SetLastWord(const char* at, ptrdiff_t length) { lastWord_ = std::string_view(at, size_t(length)); }
  int ReadBlock(const char*& at, const char* end, double scale, int32_t* row, int k, int count);
  static bool StoreSample(const DecimalBlock::Decimal& decimal, double scale, bool unscaled, int32_t& sample);
  int SlowlyAt(const char*& at, const char* end, double scale, int32_t* row, int k, int count);
  int32_t ReadScaledSlowly(const char*& at, const char* end, double scale, int index, int count);
  // The number that starts at `start` of the current line; the line moves past it.
  double ReadNumber(size_t start, int index, int count);

  std::string path_;
  std::string_view text_;
  std::string_view current_;  // the current line without its line end
  size_t next_ = 0;           // where the line after the current one starts
  int line_ = 0;
  double last_ = 0;
  std::string_view lastWord_;  // the last number when a block read it, else empty
};

}  // namespace velmora
