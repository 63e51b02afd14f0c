#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

class Ui;

// The value prompts of the main window: a dialog with a caption, a prompt and the current
// value. A value outside the range beeps and asks again, saying above the question what was
// wrong and what is allowed; text that is not a number is reported, naming the value, and
// ends the command with nothing changed.
class ValuePrompt {
 public:
  enum class Outcome { Value, Cancelled, NotANumber };
  template <typename T>
  struct Answer {
    Outcome outcome = Outcome::Cancelled;
    T value{};
    bool HasValue() const { return outcome == Outcome::Value; }
  };

  // Accepts minimum .. maximum (both included); no maximum when `maximum` is empty.
  static Answer<int32_t> AskInteger(Ui& ui, const std::string& caption, const std::string& prompt, int32_t current,
                                    int32_t minimum, std::optional<int64_t> maximum = std::nullopt);
  // Accepts values above 0; the edit shows the current value with two decimals.
  static Answer<double> AskPositiveReal(Ui& ui, const std::string& caption, const std::string& prompt, double current);

  static std::optional<int32_t> ParseInteger(const std::string& text);
  static std::optional<double> ParseReal(const std::string& text);
};

}  // namespace velmora
