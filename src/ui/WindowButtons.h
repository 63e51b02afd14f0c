#pragma once

#include <QHBoxLayout>
#include <QPushButton>
#include <QWidget>

namespace velmora {

// A button of a window's button row, named so tests and the menu wiring can find it.
inline QPushButton* AddButton(QWidget* shell, QHBoxLayout* row, const char* name, const char* caption) {
  auto* button = new QPushButton(caption, shell);
  button->setObjectName(name);
  row->addWidget(button);
  return button;
}

}  // namespace velmora
