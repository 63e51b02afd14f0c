#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;

namespace velmora {

struct MenuRow;

// The main window's whole menu bar. Items are found by the object names the window's
// handlers are named after ("OpenFile1" for OpenFile1Click), so the window wires a command
// with one Connect call and checks items from the state by name. Every item starts disabled
// and only Connect enables it: a menu item whose command is not there yet stays grey instead
// of doing nothing when chosen. "show Mini Window" is meant to stay disabled for good; Connect
// would enable it like any other item, so the window leaves it unconnected.
//
// Check marks are plain checkable actions without exclusive groups: the window sets every
// check from the state after each command, and a group would fight it.
class MainMenu : public QObject {
  Q_OBJECT

 public:
  MainMenu(QMenuBar* bar, QObject* parent);

  // The item named `objectName`, or nullptr.
  QAction* Action(const QString& objectName) const;
  // A menu or submenu by object name ("File1", "Import1", "Tiletype1", ...), or nullptr.
  QMenu* Menu(const QString& objectName) const;
  // ShowPrevFile1 .. ShowPrevFile10 in order.
  QList<QAction*> RecentFileActions() const;
  // Connects the item's triggered() to `handler`, replacing an earlier handler, and enables
  // the item. An unknown name is reported as a warning and changes nothing.
  void Connect(const QString& objectName, std::function<void()> handler);
  // All item object names in menu order.
  QStringList ActionNames() const;
  // Captions of the recent-file items from `paths` (item N = paths[N-1]); an item without a
  // path, or with an empty one, is hidden so that the menu shows no blank lines.
  void SetRecentFiles(const QStringList& paths);

  // The caption as the user reads it: without a "\t..." key text an item may carry and with
  // a doubled "&" shown as one.
  static QString Caption(const QAction* action);

 private:
  void Build(QMenuBar* bar);
  QMenu* AddMenu(QMenuBar* bar, QMenu* parentMenu, const MenuRow& row);
  QAction* AddItem(QWidget* owner, const MenuRow& row);
  QAction* Register(QWidget* owner, QAction* action);
  void AddRecentFiles(QMenu* file);

  QHash<QString, QAction*> actions_;
  QHash<QString, QPointer<QMenu>> menus_;
  QStringList names_;
  QList<QAction*> recent_;
};

}  // namespace velmora
