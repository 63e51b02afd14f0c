#pragma once

#include <string>

namespace velmora {

// File names the exports suggest.
class ExportNames {
 public:
  // The recording's path with its three-letter extension replaced by "TXT" ("REC.E00" gives
  // "REC.TXT"), the name the save dialogs of the drawing-object and mark-table exports offer.
  static std::string TextBesideRecording(const std::string& elgFileName) {
    const size_t keep = elgFileName.size() >= 4 ? elgFileName.size() - 4 : 0;
    return elgFileName.substr(0, keep) + ".TXT";
  }
};

}  // namespace velmora
