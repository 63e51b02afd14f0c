#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// Reads numbers from a text file the free-format way: numbers are separated by blanks, tabs
// or line ends, a number may stand on a later line than the one before it, and NextLine skips
// the rest of the current line. Every failure throws a ConversionError naming file and line.
class TextReader {
 public:
  // Reads the whole file; throws IoError when it cannot be opened or read.
  static TextReader FromFile(const std::string& path);
  TextReader(std::string path, std::string text);

  int32_t ReadInt(std::string_view what);
  double ReadReal(std::string_view what);
  // Moves past the next line end (or to the end of the text).
  void NextLine();
  // Returns the rest of the current line and moves past its line end.
  std::string ReadLine();
  bool AtEnd() const { return pos_ >= text_.size(); }
  int LineNumber() const { return line_; }
  const std::string& Path() const { return path_; }

 private:
  std::string_view NextToken(std::string_view what);
  [[noreturn]] void Fail(const std::string& problem) const;

  std::string path_;
  std::string text_;
  size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace velmora
