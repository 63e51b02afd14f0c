#include "commands/ValuePrompt.h"

#include <charconv>

#include <fmt/format.h>

#include "core/Ui.h"

namespace velmora {

namespace {

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<int32_t> ValuePrompt::ParseInteger(const std::string& text) {
  std::string t = Trimmed(text);
  if (!t.empty() && t[0] == '+') t.erase(0, 1);
  int32_t value = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  return value;
}

std::optional<double> ValuePrompt::ParseReal(const std::string& text) {
  std::string t = Trimmed(text);
  if (!t.empty() && t[0] == '+') t.erase(0, 1);
  double value = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value, std::chars_format::general);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size() || value != value) return std::nullopt;
  return value;
}

ValuePrompt::Answer<int32_t> ValuePrompt::AskInteger(Ui& ui, const std::string& caption, const std::string& prompt,
                                                     int32_t current, int32_t minimum, std::optional<int64_t> maximum) {
  for (;;) {
    const std::optional<std::string> text = ui.InputQuery(caption, prompt, std::to_string(current));
    if (!text) return {Outcome::Cancelled, current};
    const std::optional<int32_t> value = ParseInteger(*text);
    if (!value) {
      ui.Error(fmt::format("'{}' is not a valid integer value", *text));
      return {Outcome::NotANumber, current};
    }
    if (*value >= minimum && (!maximum || *value <= *maximum)) return {Outcome::Value, *value};
    ui.Beep();
  }
}

ValuePrompt::Answer<double> ValuePrompt::AskPositiveReal(Ui& ui, const std::string& caption, const std::string& prompt,
                                                         double current) {
  for (;;) {
    const std::optional<std::string> text = ui.InputQuery(caption, prompt, fmt::format("{:.2f}", current));
    if (!text) return {Outcome::Cancelled, current};
    const std::optional<double> value = ParseReal(*text);
    if (!value) {
      ui.Error(fmt::format("'{}' is not a valid floating point value", *text));
      return {Outcome::NotANumber, current};
    }
    if (*value > 0) return {Outcome::Value, *value};
    ui.Beep();
  }
}

}  // namespace velmora
