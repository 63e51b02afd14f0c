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

// The value's name in a message: the prompt's caption, or its question where the caption is blank.
std::string FieldName(const std::string& caption, const std::string& prompt) {
  std::string name = Trimmed(caption);
  if (name.empty()) name = Trimmed(prompt);
  while (!name.empty() && (name.back() == ':' || name.back() == ' ')) name.pop_back();
  return name;
}

// A refused value is asked for again with what was wrong and what is allowed above the question.
std::string AskedAgain(const std::string& typed, const std::string& allowed, const std::string& prompt) {
  return fmt::format("{} is not allowed: give {}.\n{}", Trimmed(typed), allowed, prompt);
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
  const std::string allowed = maximum ? fmt::format("a whole number from {} to {}", minimum, *maximum)
                                      : fmt::format("a whole number of at least {}", minimum);
  std::string asked = prompt;
  for (;;) {
    const std::optional<std::string> text = ui.InputQuery(caption, asked, std::to_string(current));
    if (!text) return {Outcome::Cancelled, current};
    const std::optional<int32_t> value = ParseInteger(*text);
    if (!value) {
      ui.Error(fmt::format("{}: '{}' is not a valid integer value", FieldName(caption, prompt), *text));
      return {Outcome::NotANumber, current};
    }
    if (*value >= minimum && (!maximum || *value <= *maximum)) return {Outcome::Value, *value};
    ui.Beep();
    asked = AskedAgain(*text, allowed, prompt);
  }
}

ValuePrompt::Answer<double> ValuePrompt::AskPositiveReal(Ui& ui, const std::string& caption, const std::string& prompt,
                                                         double current) {
  std::string asked = prompt;
  for (;;) {
    const std::optional<std::string> text = ui.InputQuery(caption, asked, fmt::format("{:.2f}", current));
    if (!text) return {Outcome::Cancelled, current};
    const std::optional<double> value = ParseReal(*text);
    if (!value) {
      ui.Error(fmt::format("{}: '{}' is not a valid floating point value", FieldName(caption, prompt), *text));
      return {Outcome::NotANumber, current};
    }
    if (*value > 0) return {Outcome::Value, *value};
    ui.Beep();
    asked = AskedAgain(*text, "a number above 0", prompt);
  }
}

}  // namespace velmora
