#pragma once

#include <functional>

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

namespace velmora {

// The panels that float over the panes until closed: the help panel of frequent commands,
// the about panel and the file information panel.
class FloatingPanels : public QObject {
  Q_OBJECT

 public:
  explicit FloatingPanels(QWidget* owner);

  QWidget* HelpPanel() const { return help_; }
  QWidget* AboutPanel() const { return about_; }
  QWidget* InfoPanel() const { return info_; }
  QLineEdit* InfoEdit() const { return infoEdit_; }
  QPlainTextEdit* InfoSettings() const { return infoSettings_; }
  QPlainTextEdit* HelpMemo() const { return helpMemo_; }

  static QStringList HelpLines();

  void ShowHelp();
  void ShowAbout();
  // Shows the file information panel with `text`; every edit goes to `changed` at once,
  // "Ok" to `accepted`, "Cancel" to `cancelled`. Below it, read only, the settings that
  // made the marks, when they are known.
  void ShowInfo(const QString& text, const QStringList& markSettings = {});

 signals:
  void helpClosed();
  void aboutClosed();
  void infoChanged(const QString& text);
  void infoAccepted(const QString& text);
  void infoCancelled();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildHelp(QWidget* owner);
  QWidget* BuildAbout(QWidget* owner);
  QWidget* BuildInfo(QWidget* owner);

  // Built in the constructor's body: the builders also set helpMemo_ and infoEdit_.
  QPlainTextEdit* helpMemo_ = nullptr;
  QLineEdit* infoEdit_ = nullptr;
  QPlainTextEdit* infoSettings_ = nullptr;
  QWidget* help_ = nullptr;
  QWidget* about_ = nullptr;
  QWidget* info_ = nullptr;
};

}  // namespace velmora
