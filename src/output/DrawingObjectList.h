#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace velmora {

// The drawing objects of a "to Mac" file, gathered in memory: each object's lines are kept
// until its line count is known, and the object count leads the file. Lines are integers
// separated by single blanks; every line, the last one too, ends with a line feed.
class DrawingObjectList {
 public:
  // Starts a new object of `type`; the lines added next belong to it. Returns its index
  // for AddLineTo.
  int BeginObject(int type);
  void AddLine(std::initializer_list<int64_t> values);
  // Adds a line to an earlier object, so several objects can be filled side by side.
  void AddLineTo(int object, std::initializer_list<int64_t> values);

  int ObjectCount() const { return int(objects_.size()); }
  // Lines of the object begun last (0 when none was begun).
  int LastObjectLines() const { return objects_.empty() ? 0 : objects_.back().lineCount; }

  // The whole file: the object count, then each object's header line and its lines.
  std::string Text() const;

 private:
  struct Object {
    int type = 0;
    int lineCount = 0;
    std::string lines;
  };
  std::vector<Object> objects_;
};

}  // namespace velmora
