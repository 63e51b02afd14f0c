#include "core/ConsoleUi.h"

#include <ostream>

namespace velmora {

void ConsoleUi::Message(const std::string& text) { out_ << text << '\n'; }

void ConsoleUi::Error(const std::string& text) {
  ++errors_;
  out_ << "error: " << text << '\n';
}

Ui::Answer ConsoleUi::AskYesNoCancel(const std::string& text) {
  out_ << text << " (answered No: nobody to ask)\n";
  return Answer::No;
}

void ConsoleUi::Log(const std::string& line) {
  if (showLog_) out_ << line << '\n';
}

}  // namespace velmora
