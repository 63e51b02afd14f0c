#include "output/DrawingObjectList.h"

#include <iterator>

#include <fmt/format.h>

namespace velmora {

void DrawingObjectList::BeginObject(int type) { objects_.push_back(Object{type, 0, {}}); }

void DrawingObjectList::AddLine(std::initializer_list<int64_t> values) {
  if (objects_.empty()) BeginObject(0);
  Object& object = objects_.back();
  auto out = std::back_inserter(object.lines);
  bool first = true;
  for (const int64_t value : values) {
    if (!first) object.lines.push_back(' ');
    fmt::format_to(out, "{}", value);
    first = false;
  }
  object.lines.push_back('\n');
  ++object.lineCount;
}

std::string DrawingObjectList::Text() const {
  size_t size = 16;
  for (const Object& object : objects_) size += object.lines.size() + 24;
  std::string text;
  text.reserve(size);
  auto out = std::back_inserter(text);
  fmt::format_to(out, "{}\n", objects_.size());
  for (const Object& object : objects_) {
    fmt::format_to(out, "{} {}\n", object.type, object.lineCount);
    text += object.lines;
  }
  return text;
}

}  // namespace velmora
