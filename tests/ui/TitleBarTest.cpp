#include <QAbstractButton>
#include <QComboBox>
#include <QSignalSpy>
#include <QtTest>

#include <memory>
#include <vector>

#include "ui/TitleBar.h"

using velmora::TitleBar;

namespace {

struct ButtonCase {
  const char* name;
  const char* caption;
};

// Every button of pane A's bar in the order the bar is read; pane B's have suffix 2 and no "T".
const ButtonCase kButtonsA[] = {{"TileSpeedButton1", "T"}, {"SpeedMap1", "Map"},    {"SpeedEle1", "Ele"},
                                {"SpeedWav1", "Wav"},      {"SpeedDecWave1", "W-"}, {"SpeedIncWave1", "W+"},
                                {"SpeedWin1", "W"},        {"SpeedBeg1", "B"},      {"SpeedIncAmplf1", "A"},
                                {"SpeedDecAmplf1", "a"},   {"SpeedNext1", ">"},     {"SpeedPrev1", "<"}};

const char* const kSignals[] = {SIGNAL(tileClicked()),      SIGNAL(kindClicked(int)), SIGNAL(beginClicked()),
                                SIGNAL(windowClicked()),    SIGNAL(amplifyClicked()), SIGNAL(attenuateClicked()),
                                SIGNAL(nextClicked()),      SIGNAL(previousClicked()), SIGNAL(waveUpClicked()),
                                SIGNAL(waveDownClicked()),  SIGNAL(orderChosen(int))};

QStringList Items(const QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

int RightEdge(const QWidget* widget) { return widget->x() + widget->width(); }

int CountPixels(const QImage& image, const QRect& area, QRgb colour) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) count += image.pixel(x, y) == colour;
  return count;
}

}  // namespace

class TitleBarTest : public QObject {
  Q_OBJECT

 private slots:
  void paneAHasAllItsButtons() {
    TitleBar bar("A", nullptr);
    QCOMPARE(bar.objectName(), QString("TitleBarA"));
    QCOMPARE(bar.height(), 25);
    for (const ButtonCase& button : kButtonsA) {
      QAbstractButton* found = bar.Button(button.name);
      QVERIFY2(found != nullptr, button.name);
      QCOMPARE(found->text(), QString(button.caption));
    }
    QCOMPARE(bar.OrderBox()->objectName(), QString("ComboBox1"));
    QCOMPARE(Items(bar.OrderBox()),
             QStringList({"Horizontal", "Vertical", "Sequential", "Free", "Bipolar", "Opposite"}));
    QCOMPARE(bar.OrderBox()->currentIndex(), 0);
    QVERIFY(bar.Button("SpeedEle1")->isChecked());
    QCOMPARE(bar.KindButton(), 1);
    QVERIFY(bar.Button("NoSuchButton") == nullptr);
  }

  void paneBHasNoTileButtonAndFourOrders() {
    TitleBar bar("B", nullptr);
    QCOMPARE(bar.objectName(), QString("TitleBarB"));
    QVERIFY(bar.Button("TileSpeedButton1") == nullptr);
    QVERIFY(bar.Button("TileSpeedButton2") == nullptr);
    for (const ButtonCase& button : kButtonsA) {
      QString name(button.name);
      if (name.startsWith("Tile")) continue;
      name.replace("1", "2");
      QAbstractButton* found = bar.Button(name);
      QVERIFY2(found != nullptr, qPrintable(name));
      QCOMPARE(found->text(), QString(button.caption));
      QVERIFY2(bar.Button(button.name) == nullptr, button.name);
    }
    QCOMPARE(bar.OrderBox()->objectName(), QString("ComboBox2"));
    QCOMPARE(Items(bar.OrderBox()), QStringList({"Horizontal", "Vertical", "Sequential", "Free"}));
    QCOMPARE(bar.OrderBox()->currentIndex(), 0);
    QCOMPARE(bar.KindButton(), 1);
  }

  void leftControlsSitAtTheirPlaces_data() {
    QTest::addColumn<QString>("letter");
    QTest::addColumn<int>("tile");
    QTest::addColumn<int>("map");
    QTest::addColumn<int>("ele");
    QTest::addColumn<int>("wav");
    QTest::addColumn<int>("box");
    QTest::addColumn<int>("boxWidth");
    QTest::newRow("A") << "A" << 5 << 43 << 92 << 142 << 193 << 104;
    QTest::newRow("B") << "B" << -1 << 15 << 64 << 113 << 169 << 103;
  }

  void leftControlsSitAtTheirPlaces() {
    QFETCH(QString, letter);
    QFETCH(int, tile);
    QFETCH(int, map);
    QFETCH(int, ele);
    QFETCH(int, wav);
    QFETCH(int, box);
    QFETCH(int, boxWidth);
    TitleBar bar(letter, nullptr);
    const QString n = letter == "A" ? "1" : "2";
    if (tile >= 0) QCOMPARE(bar.Button("TileSpeedButton" + n)->x(), tile);
    QCOMPARE(bar.Button("SpeedMap" + n)->x(), map);
    QCOMPARE(bar.Button("SpeedEle" + n)->x(), ele);
    QCOMPARE(bar.Button("SpeedWav" + n)->x(), wav);
    QCOMPARE(bar.OrderBox()->x(), box);
    QCOMPARE(bar.OrderBox()->width(), boxWidth);
    // Neighbours must not overlap, or one would hide the other's caption.
    QVERIFY(RightEdge(bar.Button("SpeedMap" + n)) <= ele);
    QVERIFY(RightEdge(bar.Button("SpeedEle" + n)) <= wav);
    QVERIFY(RightEdge(bar.Button("SpeedWav" + n)) <= box);
    if (tile >= 0) QVERIFY(RightEdge(bar.Button("TileSpeedButton" + n)) <= map);
  }

  void rightButtonsFollowTheRightEdge_data() {
    QTest::addColumn<QString>("letter");
    QTest::addColumn<int>("width");
    QTest::newRow("A 800") << "A" << 800;
    QTest::newRow("A 1237") << "A" << 1237;
    QTest::newRow("B 640") << "B" << 640;
  }

  void rightButtonsFollowTheRightEdge() {
    QFETCH(QString, letter);
    QFETCH(int, width);
    TitleBar bar(letter, nullptr);
    // A hidden widget only hears of its size when shown, so show it before looking.
    bar.resize(300, TitleBar::kHeight);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    bar.resize(width, TitleBar::kHeight);
    QTRY_COMPARE(bar.width(), width);
    const QString n = letter == "A" ? "1" : "2";
    auto at = [&bar, &n](const char* name) { return bar.Button(name + n); };
    QCOMPARE(RightEdge(at("SpeedNext")), width - 5);
    QCOMPARE(RightEdge(at("SpeedPrev")), at("SpeedNext")->x());
    QCOMPARE(RightEdge(at("SpeedDecWave")), width);
    QCOMPARE(RightEdge(at("SpeedIncWave")), at("SpeedDecWave")->x());
    QCOMPARE(at("SpeedIncWave")->x() - RightEdge(at("SpeedWin")), 6);
    QCOMPARE(RightEdge(at("SpeedBeg")), at("SpeedWin")->x());
    QCOMPARE(at("SpeedBeg")->x() - RightEdge(at("SpeedIncAmplf")), 5);
    QCOMPARE(at("SpeedDecAmplf")->x(), at("SpeedIncAmplf")->x() - at("SpeedIncAmplf")->width());
    QCOMPARE(RightEdge(at("SpeedDecAmplf")), at("SpeedIncAmplf")->x());
    // The "A"/"a" pair must stay clear of the order box at the widths panes are shown at.
    QVERIFY(at("SpeedDecAmplf")->x() > RightEdge(bar.OrderBox()));
  }

  void arrangeAlsoPlacesTheRightButtons() {
    TitleBar bar("A", nullptr);
    bar.resize(900, TitleBar::kHeight);
    QAbstractButton* next = bar.Button("SpeedNext1");
    next->move(0, next->y());
    bar.Button("SpeedDecWave1")->move(0, next->y());
    bar.Arrange(0);
    QCOMPARE(RightEdge(next), 895);
    QCOMPARE(RightEdge(bar.Button("SpeedDecWave1")), 900);
  }

  void buttonsShowByPaneKind_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("electrograms");
    QTest::addColumn<bool>("waveMap");
    QTest::newRow("map") << 0 << false << false;
    QTest::newRow("electrograms") << 1 << true << false;
    QTest::newRow("wave map") << 2 << false << true;
  }

  void buttonsShowByPaneKind() {
    QFETCH(int, kind);
    QFETCH(bool, electrograms);
    QFETCH(bool, waveMap);
    for (const QString letter : {"A", "B"}) {
      TitleBar bar(letter, nullptr);
      bar.resize(800, TitleBar::kHeight);
      bar.show();
      QVERIFY(QTest::qWaitForWindowExposed(&bar));
      // From every other kind first, so the arrangement cannot lean on what was shown before.
      for (int before = 0; before < 3; ++before) {
        bar.Arrange(before);
        bar.Arrange(kind);
        const QString n = letter == "A" ? "1" : "2";
        auto shown = [&bar, &n](const char* name) { return bar.Button(name + n)->isVisible(); };
        QCOMPARE(bar.OrderBox()->isVisible(), electrograms);
        QCOMPARE(shown("SpeedIncAmplf"), electrograms);
        QCOMPARE(shown("SpeedDecAmplf"), electrograms);
        QCOMPARE(shown("SpeedIncWave"), waveMap);
        QCOMPARE(shown("SpeedDecWave"), waveMap);
        QCOMPARE(shown("SpeedNext"), !waveMap);
        QCOMPARE(shown("SpeedPrev"), !waveMap);
        for (const char* always : {"SpeedMap", "SpeedEle", "SpeedWav", "SpeedWin", "SpeedBeg"})
          QVERIFY2(shown(always), always);
        if (letter == "A") QVERIFY(bar.Button("TileSpeedButton1")->isVisible());
      }
    }
  }

  void kindButtonsAreOneRadioGroup() {
    TitleBar bar("A", nullptr);
    bar.resize(800, TitleBar::kHeight);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QSignalSpy kind(&bar, &TitleBar::kindClicked);
    QAbstractButton* map = bar.Button("SpeedMap1");
    QAbstractButton* ele = bar.Button("SpeedEle1");
    QAbstractButton* wav = bar.Button("SpeedWav1");
    QTest::mouseClick(map, Qt::LeftButton);
    QVERIFY(map->isChecked() && !ele->isChecked() && !wav->isChecked());
    QCOMPARE(bar.KindButton(), 0);
    QCOMPARE(kind.count(), 1);
    QCOMPARE(kind.at(0).at(0).toInt(), 0);
    // A second click on the down button keeps it down.
    QTest::mouseClick(map, Qt::LeftButton);
    QVERIFY(map->isChecked());
    QTest::mouseClick(wav, Qt::LeftButton);
    QVERIFY(!map->isChecked() && !ele->isChecked() && wav->isChecked());
    QCOMPARE(kind.count(), 3);
    QCOMPARE(kind.at(2).at(0).toInt(), 2);

    bar.SetKindButton(1);
    QVERIFY(!map->isChecked() && ele->isChecked() && !wav->isChecked());
    QCOMPARE(bar.KindButton(), 1);
    bar.SetKindButton(0);
    QCOMPARE(bar.KindButton(), 0);
    QCOMPARE(kind.count(), 3);
  }

  void eachButtonSendsItsSignal_data() {
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("paneKind");
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("argument");
    const std::pair<const char*, int> rows[] = {{"TileSpeedButton", 0}, {"SpeedMap", 1}, {"SpeedEle", 1},
                                                {"SpeedWav", 1},        {"SpeedBeg", 2}, {"SpeedWin", 3},
                                                {"SpeedIncAmplf", 4},   {"SpeedDecAmplf", 5}, {"SpeedNext", 6},
                                                {"SpeedPrev", 7},       {"SpeedIncWave", 8}, {"SpeedDecWave", 9}};
    for (const QString letter : {"A", "B"}) {
      const QString n = letter == "A" ? "1" : "2";
      for (const auto& [name, signal] : rows) {
        if (letter == "B" && signal == 0) continue;
        const QString button = name + n;
        const int paneKind = button.contains("Wave") ? 2 : 1;
        const int argument = button.startsWith("SpeedMap") ? 0 : button.startsWith("SpeedWav") ? 2 : 1;
        QTest::newRow(qPrintable(button)) << letter << button << paneKind << signal << argument;
      }
    }
  }

  void eachButtonSendsItsSignal() {
    QFETCH(QString, letter);
    QFETCH(QString, button);
    QFETCH(int, paneKind);
    QFETCH(int, signal);
    QFETCH(int, argument);
    TitleBar bar(letter, nullptr);
    bar.resize(800, TitleBar::kHeight);
    bar.Arrange(paneKind);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (const char* each : kSignals) spies.push_back(std::make_unique<QSignalSpy>(&bar, each));
    QTest::mouseClick(bar.Button(button), Qt::LeftButton);
    for (int i = 0; i < int(spies.size()); ++i) QCOMPARE(spies[i]->count(), i == signal ? 1 : 0);
    if (signal == 1) QCOMPARE(spies[1]->at(0).at(0).toInt(), argument);
  }

  void orderChosenOnlyByTheUser() {
    for (const QString letter : {"A", "B"}) {
      TitleBar bar(letter, nullptr);
      bar.resize(800, TitleBar::kHeight);
      bar.show();
      QVERIFY(QTest::qWaitForWindowExposed(&bar));
      QSignalSpy chosen(&bar, &TitleBar::orderChosen);
      QTest::keyClick(bar.OrderBox(), Qt::Key_Down);
      QCOMPARE(bar.OrderBox()->currentIndex(), 1);
      QCOMPARE(chosen.count(), 1);
      QCOMPARE(chosen.at(0).at(0).toInt(), 1);
      bar.SetOrderItem(3);
      QCOMPARE(bar.OrderBox()->currentIndex(), 3);
      QCOMPARE(bar.OrderBox()->currentText(), QString("Free"));
      bar.SetOrderItem(0);
      QCOMPARE(chosen.count(), 1);
      QTest::keyClick(bar.OrderBox(), Qt::Key_End);
      QCOMPARE(chosen.count(), 2);
      QCOMPARE(chosen.at(1).at(0).toInt(), letter == "A" ? 5 : 3);
    }
  }

  void captionAndColourRoundTrip() {
    TitleBar bar("A", nullptr);
    QCOMPARE(bar.Colour(), QColor(Qt::red));
    QCOMPARE(bar.Caption(), QString());
    bar.SetCaption("REC.E00");
    QCOMPARE(bar.Caption(), QString("REC.E00"));
    bar.SetColour(Qt::blue);
    QCOMPARE(bar.Colour(), QColor(Qt::blue));
    bar.SetColour(QColor(255, 0, 255));
    QCOMPARE(bar.Colour(), QColor(255, 0, 255));
  }

  void captionIsDrawnWhiteOnTheBarColour() {
    TitleBar bar("A", nullptr);
    bar.resize(1000, TitleBar::kHeight);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    bar.SetCaption("Slow Wave (0-4000) 3x5 (Cell = 17)");
    bar.SetColour(Qt::blue);
    const QImage image = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect caption = bar.CaptionRect();
    QCOMPARE(image.pixel(caption.left() - 3, 12), qRgb(0, 0, 255));
    QVERIFY(CountPixels(image, caption, qRgb(255, 255, 255)) > 40);
    // Nothing white outside the caption and the buttons.
    const QRect gapLeftOfCaption(RightEdge(bar.OrderBox()), 0, caption.left() - RightEdge(bar.OrderBox()), 25);
    QCOMPARE(CountPixels(image, gapLeftOfCaption, qRgb(255, 255, 255)), 0);
  }

  void captionIsCentredWhenThereIsRoom() {
    TitleBar bar("A", nullptr);
    bar.resize(1600, TitleBar::kHeight);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    bar.SetCaption("(0-4000) 120 msec     Elenr = 17");
    const QRect caption = bar.CaptionRect();
    QVERIFY(caption.width() > 100);
    QVERIFY(qAbs(caption.center().x() - 800) <= 1);
    QCOMPARE(bar.ShownCaption(), bar.Caption());
    bar.SetCaption("sample.E00");
    QCOMPARE(bar.ShownCaption(), QString("sample.E00"));
  }

  void aLongCaptionStaysBetweenTheButtons_data() {
    QTest::addColumn<int>("paneKind");
    QTest::newRow("electrograms") << 1;
    QTest::newRow("wave map") << 2;
  }

  void aLongCaptionStaysBetweenTheButtons() {
    QFETCH(int, paneKind);
    TitleBar bar("A", nullptr);
    bar.resize(620, TitleBar::kHeight);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    bar.Arrange(paneKind);
    bar.SetCaption("Wave Map nr: 3 of 12    (Slow Wave) 4x7 (Cell = 123)");
    const QRect caption = bar.CaptionRect();
    const int leftEnd = paneKind == 1 ? RightEdge(bar.OrderBox()) : RightEdge(bar.Button("SpeedWav1"));
    const int rightStart = paneKind == 1 ? bar.Button("SpeedDecAmplf1")->x() : bar.Button("SpeedBeg1")->x();
    QVERIFY2(caption.left() >= leftEnd, qPrintable(QString::number(caption.left())));
    QVERIFY2(caption.right() < rightStart, qPrintable(QString::number(caption.right())));
    QVERIFY(caption.width() > 100);
    // Too long for the stretch between the buttons: cut short, not drawn under them.
    QVERIFY(bar.ShownCaption().endsWith(QChar(0x2026)));
    QVERIFY(bar.ShownCaption().length() < bar.Caption().length());
  }
};

QTEST_MAIN(TitleBarTest)
#include "TitleBarTest.moc"
