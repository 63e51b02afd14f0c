#include "core/TextReader.h"

#include <charconv>

#include <fmt/format.h>

#include "core/EchoedText.h"
#include "core/Errors.h"
#include "core/ReadableFile.h"

namespace velmora {

TextReader TextReader::FromFile(const std::string& path) { return TextReader(path, ReadableFile(path).ReadAll()); }

TextReader::TextReader(std::string path, std::string text) : path_(std::move(path)), text_(std::move(text)) {}

void TextReader::Fail(const std::string& problem) const { throw ConversionError(path_, line_, problem); }

std::string_view TextReader::NextToken(std::string_view what) {
  auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; };
  while (pos_ < text_.size() && isBlank(text_[pos_])) {
    if (text_[pos_] == '\n') ++line_;
    ++pos_;
  }
  if (pos_ >= text_.size()) Fail(fmt::format("the file ends where {} was expected", what));
  const size_t start = pos_;
  while (pos_ < text_.size() && !isBlank(text_[pos_])) ++pos_;
  return std::string_view(text_).substr(start, pos_ - start);
}

int32_t TextReader::ReadInt(std::string_view what) {
  std::string_view token = NextToken(what);
  std::string_view digits = token;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  int32_t value = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec == std::errc::result_out_of_range) Fail(fmt::format("{} '{}' is out of range", what, EchoedText::Token(token)));
  if (ec != std::errc() || end != digits.data() + digits.size())
    Fail(fmt::format("expected {} (a whole number), found '{}'", what, EchoedText::Token(token)));
  return value;
}

double TextReader::ReadReal(std::string_view what) {
  std::string_view token = NextToken(what);
  std::string_view digits = token;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  double value = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size())
    Fail(fmt::format("expected {} (a number), found '{}'", what, EchoedText::Token(token)));
  return value;
}

void TextReader::NextLine() {
  while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
  if (pos_ < text_.size()) {
    ++pos_;
    ++line_;
  }
}

std::string TextReader::ReadLine() {
  const size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
  std::string line = text_.substr(start, pos_ - start);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  NextLine();
  return line;
}

}  // namespace velmora
