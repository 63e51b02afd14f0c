#include "cli/DetectionMethodOption.h"

#include "marks/AutomaticMarking.h"

namespace velmora::cli {

CLI::Option* DetectionMethodOption::AddOption(CLI::App* cmd, std::string& method) {
  return cmd
      ->add_option("--method", method,
                   "detection method of the automatic marking: described (the threshold crossing, unless --set "
                   "DetectionMethod says otherwise) or robust")
      ->check(CLI::IsMember({"described", "robust"}));
}

void DetectionMethodOption::Apply(const std::string& method, PreferenceTexts& texts) {
  if (method.empty()) return;
  texts["DetectionMethod"] =
      std::to_string(method == "robust" ? AutomaticMarking::kRobustMethod : AutomaticMarking::kThresholdMethod);
}

}  // namespace velmora::cli
