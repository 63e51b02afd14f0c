#include "output/DrawingObjectList.h"

#include <iterator>

#include <fmt/format.h>

namespace velmora {

int DrawingObjectList::BeginObject(int type) {
  objects_.push_back(Object{type, 0, {}});
  return int(objects_.size()) - 1;
}

void DrawingObjectList::AddLine(std::initializer_list<int64_t> values) {
  if (objects_.empty()) BeginObject(0);
  AddLineTo(int(objects_.size()) - 1, values);
}

void DrawingObjectList::AddLineTo(int index, std::initializer_list<int64_t> values) {
  Object& object = objects_[size_t(index)];
  bool first = true;
  for (const int64_t value : values) {
    if (!first) object.lines.push_back(' ');
    const fmt::format_int digits(value);
    object.lines.append(digits.data(), digits.size());
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
