#pragma once

#include <stdexcept>
#include <string>

#include "core/EchoedText.h"

namespace velmora {

// A file could not be opened, read or written, or its layout is broken. The message names
// the file and what went wrong. Whatever of a file a message carries, its name included, is
// shown harmlessly: no byte of it reaches a terminal as a control sequence.
class IoError : public std::runtime_error {
 public:
  IoError(const std::string& path, const std::string& problem)
      : std::runtime_error(EchoedText::Name(path) + ": " + EchoedText::Name(problem)), path_(path), problem_(problem) {}
  const std::string& Path() const { return path_; }
  const std::string& Problem() const { return problem_; }

 private:
  std::string path_;
  std::string problem_;
};

// Text where a number (or a number in range) was expected.
class ConversionError : public IoError {
 public:
  ConversionError(const std::string& path, int line, const std::string& problem)
      : IoError(path, "line " + std::to_string(line) + ": " + problem), line_(line), detail_(problem) {}
  int Line() const { return line_; }
  // What is wrong on the line, without the line's number.
  const std::string& Detail() const { return detail_; }

 private:
  int line_;
  std::string detail_;
};

// A long command was stopped from its progress panel; whoever began it puts the state back.
class Cancelled : public std::runtime_error {
 public:
  explicit Cancelled(const std::string& what) : std::runtime_error(what + " cancelled") {}
};

}  // namespace velmora
