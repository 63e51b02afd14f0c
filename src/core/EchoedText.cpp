#include "core/EchoedText.h"

#include <cstdint>

namespace velmora {

namespace {

// The length of the UTF-8 sequence that starts `bytes` at `at`, or 0 when none does.
// C1 controls (U+0080 to U+009F) count as no sequence: some terminals act on them too.
size_t SequenceLength(std::string_view bytes, size_t at) {
  const auto byte = [&](size_t k) { return uint8_t(bytes[at + k]); };
  const uint8_t lead = byte(0);
  size_t length = 0;
  uint32_t lowest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, lowest = 0xA0;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3, lowest = 0x800;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4, lowest = 0x10000;
  else return 0;
  if (at + length > bytes.size()) return 0;
  uint32_t code = lead & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    if ((byte(k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(k) & 0x3F);
  }
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return code >= lowest && code <= 0x10FFFF && !surrogate ? length : 0;
}

void AppendEscape(std::string& out, uint8_t byte) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 0xF];
}

}  // namespace

std::string EchoedText::Lines(std::string_view text) {
  std::string out;
  for (size_t end; ; text.remove_prefix(end + 1)) {
    end = text.find('\n');
    out += Name(text.substr(0, end));
    if (end == std::string_view::npos) return out;
    out += '\n';
  }
}

std::string EchoedText::Token(std::string_view bytes) { return Escaped(bytes, kMostTokenCharacters); }

std::string EchoedText::Escaped(std::string_view bytes, size_t mostCharacters) {
  std::string out;
  size_t characters = 0;
  for (size_t at = 0; at < bytes.size(); ++characters) {
    if (characters == mostCharacters) {
      out += "…";
      break;
    }
    const uint8_t byte = uint8_t(bytes[at]);
    if (byte >= 0x20 && byte < 0x7F) {
      out += char(byte);
      ++at;
    } else if (const size_t length = byte >= 0x80 ? SequenceLength(bytes, at) : 0; length > 0) {
      out.append(bytes.substr(at, length));
      at += length;
    } else {
      AppendEscape(out, byte);
      ++at;
    }
  }
  return out;
}

}  // namespace velmora
