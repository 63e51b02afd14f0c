#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// Text of a file put into a message. A file may hold anything: escape sequences that retitle
// or clear a terminal, bytes that are no text, or a "word" of many megabytes. A message
// shows such text harmlessly: control bytes and bytes that are not UTF-8 as \xNN, and a
// token cut short with "…".
class EchoedText {
 public:
  // Characters of a token a message shows before it is cut.
  static constexpr size_t kMostTokenCharacters = 40;

  // A token or line of a file: escaped, and cut after kMostTokenCharacters characters.
  static std::string Token(std::string_view bytes);
  // A file name or a whole message: escaped, nothing left out.
  static std::string Name(std::string_view bytes) { return Escaped(bytes, std::string_view::npos); }
  // A message of several lines: each line escaped, the line ends kept.
  static std::string Lines(std::string_view text);

 private:
  static std::string Escaped(std::string_view bytes, size_t mostCharacters);
};

}  // namespace velmora
