#include "ui/FloatingPanels.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

namespace {

QWidget* NewPanel(QWidget* owner, const QString& name) {
  auto* panel = new QWidget(owner);
  panel->setObjectName(name);
  panel->setAutoFillBackground(true);
  panel->setStyleSheet(QString("#%1 { background: #f0f0f0; border: 2px solid #808080; }").arg(name));
  panel->hide();
  return panel;
}

}  // namespace

FloatingPanels::FloatingPanels(QWidget* owner) : QObject(owner) {
  help_ = BuildHelp(owner);
  about_ = BuildAbout(owner);
  info_ = BuildInfo(owner);
}

QStringList FloatingPanels::HelpLines() {
  return {"*** Frequent Commands ***",
          "Ctrl-T: on/off Tiling",
          "Ctrl-C:  change nr of channels",
          "Ctrl-G:  go to this channel",
          "Ctrl-R: reference table",
          "Ctrl-U: update display",
          "Ctrl-B: input Begin Time for all displays",
          "Ctrl-W: input Window time for all displays",
          "Ctrl-I: change isochrone width",
          "Ctrl-A: change amplitude of signals",
          "Ctrl-H: display frequent commands",
          "",
          "*** Speed Keys ***",
          "T    : on/off Tiling",
          "a/A  : signal amplitude decrease or increase",
          "B    : begin time in this display",
          "W    : time window in this display",
          "",
          "*** Cursor commands in Electrogram display ***",
          "key 'D' -> delete this mark",
          "key 'R' -> insert reference mark at this position",
          "",
          "*** Menu commands ***",
          "Menu -> Electrogram : show/hide SW intervals",
          "Menu -> General     : smoothing (only NI-text signals!)",
          "Menu -> Isochrone   : change isochrone width"};
}

QWidget* FloatingPanels::BuildHelp(QWidget* owner) {
  QWidget* panel = NewPanel(owner, "HelpPanel");
  helpMemo_ = new QPlainTextEdit(panel);
  helpMemo_->setObjectName("HelpMemo");
  helpMemo_->setReadOnly(true);
  helpMemo_->setPlainText(HelpLines().join('\n'));
  auto* close = new QPushButton("close", panel);
  close->setObjectName("HelpCloseButton");
  connect(close, &QPushButton::clicked, this, [this] {
    help_->hide();
    emit helpClosed();
  });
  auto* layout = new QVBoxLayout(panel);
  layout->addWidget(helpMemo_);
  layout->addWidget(close);
  panel->resize(420, 460);
  return panel;
}

QWidget* FloatingPanels::BuildAbout(QWidget* owner) {
  QWidget* panel = NewPanel(owner, "AboutPanel");
  auto* layout = new QVBoxLayout(panel);
  auto* name = new QLabel("Velmora", panel);
  QFont big = name->font();
  big.setBold(true);
  big.setPixelSize(24);
  name->setFont(big);
  name->setAlignment(Qt::AlignCenter);
  layout->addWidget(name);
  for (const char* line : {"Software to analyze multiple smooth muscle", "electrograms",
                           "and create propagation maps of the", "electrical activities"}) {
    auto* label = new QLabel(line, panel);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
  }
  auto* close = new QPushButton("close", panel);
  close->setObjectName("AboutCloseButton");
  connect(close, &QPushButton::clicked, this, [this] {
    about_->hide();
    emit aboutClosed();
  });
  layout->addWidget(close);
  panel->installEventFilter(this);  // a click anywhere on the panel closes it too
  panel->resize(360, 220);
  return panel;
}

QWidget* FloatingPanels::BuildInfo(QWidget* owner) {
  QWidget* panel = NewPanel(owner, "InfoPanel");
  auto* layout = new QVBoxLayout(panel);
  layout->addWidget(new QLabel("File  Information: ", panel));
  infoEdit_ = new QLineEdit(panel);
  infoEdit_->setObjectName("InfoEdit");
  infoEdit_->setMaxLength(255);  // what the mark file's header holds
  connect(infoEdit_, &QLineEdit::textEdited, this, &FloatingPanels::infoChanged);
  layout->addWidget(infoEdit_);
  infoSettings_ = new QPlainTextEdit(panel);
  infoSettings_->setObjectName("InfoSettings");
  infoSettings_->setReadOnly(true);
  infoSettings_->hide();
  layout->addWidget(infoSettings_);
  auto* ok = new QPushButton("Ok", panel);
  ok->setObjectName("InfoOkButton");
  auto* cancel = new QPushButton("Cancel", panel);
  cancel->setObjectName("InfoCancelButton");
  connect(ok, &QPushButton::clicked, this, [this] {
    info_->hide();
    emit infoAccepted(infoEdit_->text());
  });
  connect(cancel, &QPushButton::clicked, this, [this] {
    info_->hide();
    emit infoCancelled();
  });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  panel->resize(460, 130);
  return panel;
}

void FloatingPanels::ShowHelp() {
  help_->move(40, 40);
  help_->show();
  help_->raise();
}

void FloatingPanels::ShowAbout() {
  about_->move(80, 80);
  about_->show();
  about_->raise();
}

void FloatingPanels::ShowInfo(const QString& text, const QStringList& markSettings) {
  infoEdit_->setText(text);
  infoSettings_->setPlainText(markSettings.join('\n'));
  infoSettings_->setVisible(!markSettings.isEmpty());
  info_->resize(460, markSettings.isEmpty() ? 130 : 420);
  info_->move(60, 60);
  info_->show();
  info_->raise();
  infoEdit_->setFocus();
}

bool FloatingPanels::eventFilter(QObject* watched, QEvent* event) {
  if (watched == about_ && event->type() == QEvent::MouseButtonRelease) {
    about_->hide();
    emit aboutClosed();
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace velmora
