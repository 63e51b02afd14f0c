#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "core/AnalysisState.h"
#include "SmallRecordingWindow.h"
#include "core/Errors.h"
#include "marks/MarkStore.h"
#include "support/ScriptedUi.h"
#include "ui/MainMenu.h"
#include "ui/PanePanel.h"
#include "ui/PanePictures.h"
#include "ui/PaneWidget.h"
#include "ui/PictureFile.h"
#include "ui/PictureSizeDialog.h"
#include "ui/TMainF.h"
#include "ui/TitleBar.h"

using velmora::IoError;
using velmora::PanePictures;
using velmora::PictureOptions;
using velmora::PictureSizeDialog;
using velmora::TMainF;
using velmora::testing::ScriptedUi;

// Pictures of the panes of a small recording with a few marks.
class PanePicturesTest : public QObject {
  Q_OBJECT

  QTemporaryDir dataHome_, files_;
  ScriptedUi ui_;
  std::unique_ptr<TMainF> window_;

  PanePictures& Pictures() { return *window_->findChild<PanePictures*>("PanePictures"); }
  QImage Screen(int pane) { return (pane == 2 ? window_->PaneB() : window_->PaneA())->Paint()->BackBuffer(); }
  QSize PaneSize(int pane) { return Screen(pane).size(); }
  QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

 private slots:
  void init() {
    window_ = velmora::testing::OpenSmallRecording(dataHome_, files_, ui_);
    QVERIFY(window_ != nullptr);
    auto& s = window_->State();
    for (int channel : {17, 18, 19}) {
      s.PointerChannel = channel;
      velmora::MarkStore::AddMarkRecord(s, 1000 + 40 * channel, 1);
    }
    window_->UpdateDisplay();
  }
  void cleanup() { window_.reset(); }

  // At the pane's size the picture is the screen, pixel for pixel, whatever the pane shows;
  // and making it leaves the screen as it was.
  void pngAtPaneSizeIsTheBackBuffer_data() {
    QTest::addColumn<int>("pane");
    QTest::addColumn<int>("kind");
    QTest::newRow("A electrograms") << 1 << 1;
    QTest::newRow("A time map") << 1 << 0;
    QTest::newRow("B electrograms") << 2 << 1;
    QTest::newRow("B time map") << 2 << 0;
  }
  void pngAtPaneSizeIsTheBackBuffer() {
    QFETCH(int, pane);
    QFETCH(int, kind);
    if (pane == 2) window_->SetPanelTile();
    window_->SetPaneKind(pane, kind);
    window_->UpdateDisplay();
    const QImage before = Screen(pane);
    const QString path = files_.filePath("pane.png");
    Pictures().Write(pane, path.toStdString(), {PaneSize(pane), false});
    const QImage picture(path);
    QCOMPARE(picture.size(), before.size());
    QCOMPARE(picture.convertToFormat(QImage::Format_RGB32), before);
    QCOMPARE(Screen(pane), before);
  }

  void svgAndPdfAreWrittenWhole() {
    window_->SetPaneKind(1, 0);
    window_->UpdateDisplay();
    const QString svg = files_.filePath("pane.svg"), pdf = files_.filePath("pane.PDF");
    Pictures().Write(1, svg.toStdString(), {QSize(400, 300), false});
    Pictures().Write(1, pdf.toStdString(), {QSize(400, 300), true});
    QSvgRenderer renderer(svg);
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.viewBox(), QRect(0, 0, 400, 300));
    QVERIFY(FileBytes(svg).contains("<text") || FileBytes(svg).contains("<path"));
    const QByteArray pdfBytes = FileBytes(pdf);
    QVERIFY(pdfBytes.startsWith("%PDF-"));
    QVERIFY(pdfBytes.trimmed().endsWith("%%EOF"));
    // Nothing of the writes is left beside the files.
    QCOMPARE(QDir(files_.path()).entryList({"*velmora-tmp*"}, QDir::Files | QDir::Hidden).size(), 0);
  }

  void unwritableOrUnknownFileIsRefusedNamingIt() {
    const std::string missing = files_.filePath("no/such/folder/pane.png").toStdString();
    QVERIFY_THROWS_EXCEPTION(IoError, Pictures().Write(1, missing, {QSize(50, 40), false}));
    try {
      Pictures().Write(1, files_.filePath("pane.bmp").toStdString(), {QSize(50, 40), false});
      QFAIL("a .bmp name was accepted");
    } catch (const IoError& error) {
      QVERIFY(QString(error.what()).contains("pane.bmp"));
    }
  }

  // A drawing that fails half way leaves the file that was there as it was.
  void failedDrawingLeavesTheOldFile() {
    const QString path = files_.filePath("kept.pdf");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("the old picture") > 0);
    old.close();
    const auto failing = [](velmora::Canvas& canvas) {
      canvas.Line(0, 0, 10, 10);
      throw IoError("drawing", "failed");
    };
    QVERIFY_THROWS_EXCEPTION(IoError, velmora::PictureFile::Write(path.toStdString(), velmora::PictureFile::Format::Pdf,
                                                                  QSize(50, 40), failing));
    QCOMPARE(FileBytes(path), QByteArray("the old picture"));
  }

  // The menu item asks for the file, then for the size; a name without suffix takes the filter's.
  void saveDialogsGiveFileFormatAndSize() {
    const QString base = files_.filePath("chosen");
    ui_.saveDialogAnswers.push_back(velmora::Ui::FileDialogResult{base.toStdString(), 2});
    QSize offered;
    Pictures().SetOptionsAsker([&](QSize paneSize) {
      offered = paneSize;
      return std::optional<PictureOptions>(PictureOptions{QSize(321, 123), false});
    });
    window_->Menu().Action("SavePicture1")->trigger();
    QCOMPARE(offered, PaneSize(1));
    QSvgRenderer renderer(base + ".svg");
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.viewBox(), QRect(0, 0, 321, 123));

    ui_.saveDialogAnswers.push_back(velmora::Ui::FileDialogResult{(base + ".png").toStdString(), 1});
    emit window_->PaneA()->Bar()->pictureClicked();
    QCOMPARE(QImage(base + ".png").size(), QSize(321, 123));
    QVERIFY(ui_.errors.empty());
  }

  void sizeDialogStartsAtThePaneAndGivesWhatIsSet() {
    PictureSizeDialog dialog(QSize(640, 480), nullptr);
    QCOMPARE(dialog.Options().size, QSize(640, 480));
    QVERIFY(!dialog.Options().paper);
    dialog.SetOptions({QSize(1200, 90), true});
    QCOMPARE(dialog.Options().size, QSize(1200, 90));
    QVERIFY(dialog.Options().paper);
  }

  void copyPutsThePaneOnTheClipboard() {
    window_->Menu().Action("CopyPicture1")->trigger();
    QCOMPARE(window_->Menu().Action("CopyPicture1")->shortcut(), QKeySequence("Ctrl+Shift+C"));
    QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), Screen(1));
  }

  // Black ink on white: the marks' red and the trace colours are gone, the traces are not.
  void printFriendlyPictureIsBlackOnWhite() {
    const QImage paper = Pictures().Image(1, {PaneSize(1), true});
    bool black = false;
    for (int y = 0; y < paper.height(); ++y) {
      for (int x = 0; x < paper.width(); ++x) {
        const QRgb pixel = paper.pixel(x, y);
        if (qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel)) QFAIL("a coloured pixel on paper");
        black = black || pixel == qRgb(0, 0, 0);
      }
    }
    QVERIFY(black);
  }
};

QTEST_MAIN(PanePicturesTest)
#include "PanePicturesTest.moc"
