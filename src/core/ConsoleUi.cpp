#include "core/ConsoleUi.h"

#include <ostream>

#include "core/EchoedText.h"

namespace velmora {

// Whatever a message quotes of a file reaches the terminal as text, never as its controls.
void ConsoleUi::Message(const std::string& text) { out_ << EchoedText::Lines(text) << '\n'; }

void ConsoleUi::Error(const std::string& text) {
  ++errors_;
  out_ << "error: " << EchoedText::Lines(text) << '\n';
}

Ui::Answer ConsoleUi::AskYesNoCancel(const std::string& text) {
  out_ << EchoedText::Lines(text) << " (answered No: nobody to ask)\n";
  return Answer::No;
}

void ConsoleUi::Log(const std::string& line) {
  if (showLog_) out_ << EchoedText::Lines(line) << '\n';
}

}  // namespace velmora
