#pragma once

#include <string>

namespace velmora {

class Ui;

// The progress panel of a text reading: one step and "reading line nr = N" for every 100
// sample rows read, and after each step the user's chance to cancel.
class RowProgress {
 public:
  static constexpr int kRowsPerStep = 100;

  RowProgress(Ui& ui, std::string path) : ui_(ui), path_(std::move(path)) {}

  // Steps the panel for every 100 rows up to `rowsRead` not yet shown; throws Cancelled when
  // the user cancelled meanwhile.
  void Reach(int rowsRead);

 private:
  Ui& ui_;
  std::string path_;
  int shown_ = 0;
};

}  // namespace velmora
