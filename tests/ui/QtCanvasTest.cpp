#include <QImage>
#include <QPainter>
#include <QRect>
#include <QtTest>

#include <cmath>
#include <vector>

#include "ui/QtCanvas.h"

using velmora::BrushStyle;
using velmora::FontStyle;
using velmora::PenMode;
using velmora::QtCanvas;
namespace colours = velmora::colours;

namespace {

QImage BlankImage(int width, int height, QRgb fill = qRgb(255, 255, 255)) {
  QImage image(width, height, QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);
  image.setDotsPerMeterY(3780);
  image.fill(fill);
  return image;
}

// The smallest rectangle holding every pixel that is not `background`.
QRect InkBox(const QImage& image, QRgb background = qRgb(255, 255, 255)) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
  return box;
}

// Draws with `draw` twice: on a plain image, where the canvas writes the pixels itself, and
// on one clipped to its own size, which leaves every shape to Qt. Both must look the same.
template <typename Draw>
void CompareWithQt(Draw draw, int width = 40, int height = 40, QRgb background = qRgb(255, 255, 255)) {
  QImage direct = BlankImage(width, height, background);
  QImage throughQt = BlankImage(width, height, background);
  {
    QPainter painter(&direct);
    QtCanvas canvas(painter);
    draw(canvas);
  }
  {
    QPainter painter(&throughQt);
    painter.setClipRect(throughQt.rect());
    QtCanvas canvas(painter);
    draw(canvas);
  }
  QCOMPARE(direct, throughQt);
}

}  // namespace

class QtCanvasTest : public QObject {
  Q_OBJECT

 private slots:
  void rectangleLeavesOutItsRightAndBottomEdge() {
    QImage image = BlankImage(20, 20);
    {
      QPainter painter(&image);
      QtCanvas canvas(painter);
      canvas.SetPen(colours::kBlack);
      canvas.SetBrush(colours::kRed);
      canvas.Rectangle(2, 3, 8, 9);
    }
    QCOMPARE(InkBox(image), QRect(QPoint(2, 3), QPoint(7, 8)));
    QCOMPARE(image.pixel(2, 3), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(7, 8), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(4, 5), qRgb(255, 0, 0));
  }

  void neighbouringRectanglesTileWithoutOverlap() {
    QImage image = BlankImage(20, 10);
    {
      QPainter painter(&image);
      QtCanvas canvas(painter);
      canvas.SetPen(colours::kBlue);
      canvas.SetBrush(colours::kBlue);
      canvas.Rectangle(0, 0, 5, 5);
      canvas.SetPen(colours::kRed);
      canvas.SetBrush(colours::kRed);
      canvas.Rectangle(5, 0, 10, 5);
    }
    QCOMPARE(image.pixel(4, 2), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(5, 2), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(9, 4), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(10, 2), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(2, 5), qRgb(255, 255, 255));
  }

  void clearBrushDrawsOnlyTheOutline() {
    QImage image = BlankImage(20, 20);
    {
      QPainter painter(&image);
      QtCanvas canvas(painter);
      canvas.SetBrush(colours::kRed, BrushStyle::Clear);
      canvas.Rectangle(2, 2, 12, 12);
    }
    QCOMPARE(image.pixel(2, 7), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(11, 7), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(7, 7), qRgb(255, 255, 255));
  }

  void ellipseStaysInsideItsBox() {
    QImage image = BlankImage(20, 20);
    {
      QPainter painter(&image);
      QtCanvas canvas(painter);
      canvas.SetBrush(colours::kBlack);
      canvas.Ellipse(0, 0, 10, 10);
    }
    QCOMPARE(InkBox(image), QRect(0, 0, 10, 10));
    QCOMPARE(image.pixel(5, 5), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(0, 0), qRgb(255, 255, 255));
  }

  void penColourWidthAndPolyline() {
    QImage image = BlankImage(30, 30);
    {
      QPainter painter(&image);
      QtCanvas canvas(painter);
      canvas.SetPen(0x123456, 3);
      canvas.Line(5, 10, 25, 10);
      canvas.SetPen(colours::kGreen);
      canvas.Polyline({{2, 20}, {20, 20}, {20, 28}});
    }
    QCOMPARE(image.pixel(15, 9), qRgb(0x12, 0x34, 0x56));
    QCOMPARE(image.pixel(15, 11), qRgb(0x12, 0x34, 0x56));
    QCOMPARE(image.pixel(15, 13), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(10, 20), qRgb(0, 128, 0));
    QCOMPARE(image.pixel(20, 25), qRgb(0, 128, 0));
    QCOMPARE(image.pixel(10, 21), qRgb(255, 255, 255));
  }

  void notXorPenInvertsAndRestores() {
    QImage image = BlankImage(20, 20);
    {
      QPainter painter(&image);
      QtCanvas canvas(painter);
      canvas.SetPen(colours::kBlack);
      canvas.SetBrush(colours::kBlack);
      canvas.Rectangle(0, 0, 10, 20);  // left half black, right half white
    }
    const QImage before = image;
    {
      QPainter painter(&image);
      QtCanvas canvas(painter);
      canvas.SetPen(colours::kBlack, 1, PenMode::NotXor);
      canvas.Line(2, 5, 17, 5);
    }
    // not (black xor white) is black, not (black xor black) is white.
    QCOMPARE(image.pixel(15, 5), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(5, 5), qRgb(255, 255, 255));
    {
      QPainter painter(&image);
      QtCanvas canvas(painter);
      canvas.SetPen(colours::kBlack, 1, PenMode::NotXor);
      canvas.Line(2, 5, 17, 5);
    }
    QCOMPARE(image, before);
  }

  void textOutPutsTheTopLeftOfTheTextAtThePoint() {
    QImage image = BlankImage(120, 60);
    int width = 0, height = 0;
    {
      QPainter painter(&image);
      QtCanvas canvas(painter);
      canvas.SetBrush(colours::kWhite, BrushStyle::Clear);
      canvas.SetFont(colours::kBlue, FontStyle{false, false, 10});
      width = canvas.TextWidth("Hg 17");
      height = canvas.TextHeight("Hg 17");
      canvas.TextOut(30, 20, "Hg 17");
    }
    const QRect ink = InkBox(image);
    QVERIFY(!ink.isEmpty());
    QVERIFY(ink.left() >= 30);
    QVERIFY(ink.top() >= 20);
    QVERIFY(ink.right() < 30 + width + 2);
    QVERIFY(ink.bottom() < 20 + height);
    // The capital's top lies in the upper half of the line, the descender in the lower one.
    QVERIFY(ink.top() < 20 + height / 2);
    QVERIFY(ink.bottom() > 20 + height / 2);
  }

  void solidBrushFillsTheTextBox() {
    QImage image = BlankImage(120, 60);
    int width = 0, height = 0;
    {
      QPainter painter(&image);
      QtCanvas canvas(painter);
      canvas.SetBrush(colours::kYellow);
      canvas.SetFont(colours::kBlack, FontStyle{});
      width = canvas.TextWidth("1234");
      height = canvas.TextHeight("1234");
      canvas.TextOut(10, 10, "1234");
    }
    QCOMPARE(InkBox(image), QRect(10, 10, width, height));
    QCOMPARE(image.pixel(10, 10), qRgb(255, 255, 0));
    QCOMPARE(image.pixel(10 + width - 1, 10 + height - 1), qRgb(255, 255, 0));
  }

  void textLooksAsQtWritesItAtTheBaseline() {
    // The canvas keeps laid-out strings between redraws; what it writes must be exactly what
    // writing the string afresh gives, the second time (from the kept layout) too.
    QImage expected = BlankImage(200, 60);
    {
      QPainter painter(&expected);
      QFont font = painter.font();
      font.setPointSize(8);
      painter.setFont(font);
      painter.setRenderHint(QPainter::TextAntialiasing, true);
      painter.setPen(QColor(255, 0, 255));
      painter.drawText(QPoint(17, 11 + QFontMetrics(font, &expected).ascent()), "12345 Elenr");
    }
    for (int pass = 0; pass < 2; ++pass) {
      QImage image = BlankImage(200, 60);
      {
        QPainter painter(&image);
        QtCanvas canvas(painter);
        canvas.SetBrush(colours::kWhite, BrushStyle::Clear);
        canvas.SetFont(colours::kFuchsia, FontStyle{});
        canvas.TextOut(17, 11, "12345 Elenr");
      }
      QCOMPARE(image, expected);
    }
  }

  void uprightLinesLookAsQtDrawsThem() {
    for (int width : {1, 2})
      for (int length : {0, 1, 2, 7})
        for (int sign : {1, -1}) {
          CompareWithQt([&](QtCanvas& canvas) {
            canvas.SetPen(colours::kRed, width);
            canvas.Line(10, 12, 10, 12 + sign * length);
            canvas.SetPen(colours::kBlue, width);
            canvas.Line(20, 30, 20 + sign * length, 30);
          });
          if (QTest::currentTestFailed()) qWarning() << "width" << width << "length" << sign * length;
        }
  }

  void linesLeavingTheImageAreCutAtItsEdge() {
    CompareWithQt([](QtCanvas& canvas) {
      canvas.SetPen(colours::kBlack, 2);
      canvas.Line(-5, 3, 60, 3);
      canvas.Line(0, -10, 0, 50);
      canvas.SetPen(colours::kBlack, 1);
      canvas.Line(39, -3, 39, 45);
    });
  }

  void rectanglesLookAsQtDrawsThem() {
    for (int width : {1, 2, 3, 9})
      for (int height : {1, 2, 3, 6})
        for (BrushStyle style : {BrushStyle::Solid, BrushStyle::Clear}) {
          CompareWithQt(
              [&](QtCanvas& canvas) {
                canvas.SetPen(colours::kBlue);
                canvas.SetBrush(colours::kYellow, style);
                canvas.Rectangle(5, 6, 5 + width, 6 + height);
                canvas.Rectangle(30 - width, 30 - height, 30, 30);  // drawn from its far corner
                canvas.Rectangle(30, 30, 30 - width, 30 - height);
              },
              40, 40, qRgb(0, 128, 0));
          if (QTest::currentTestFailed()) qWarning() << "size" << width << height;
        }
  }

  void clearingAPaneFillsItWholly() {
    CompareWithQt(
        [](QtCanvas& canvas) {
          canvas.SetPen(colours::kWhite);
          canvas.SetBrush(colours::kWhite);
          canvas.Rectangle(0, 0, 40, 40);
        },
        40, 40, qRgb(10, 20, 30));
  }

  void textLooksAsQtWritesItOnAnyBackground() {
    const QRgb backgrounds[] = {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(0x12, 0x34, 0x56), qRgb(255, 128, 0)};
    for (QRgb background : backgrounds) {
      CompareWithQt(
          [](QtCanvas& canvas) {
            canvas.SetBrush(colours::kWhite, BrushStyle::Clear);
            canvas.SetFont(colours::kFuchsia, FontStyle{});
            canvas.TextOut(3, 2, "-0.37 mV 1988");
            canvas.SetFont(colours::kBlack, FontStyle{true, false, 10});
            canvas.TextOut(-4, 20, "Elenr 250");  // partly outside the image
            canvas.SetBrush(colours::kLime);
            canvas.SetFont(colours::kBlue, FontStyle{false, true, 8});
            canvas.TextOut(60, 30, "12345");
            canvas.TextOut(118, 34, "off the edge");
            canvas.TextOut(20, 31, "12345");  // the same label again, and on another colour
            canvas.SetBrush(colours::kRed);
            canvas.TextOut(85, 2, "12345");
            canvas.SetFont(colours::kBlack, FontStyle{true, true, 14});
            canvas.TextOut(90, 12, "fj");  // slanted letters reach out of their box
          },
          130, 44, background);
      if (QTest::currentTestFailed()) return;
    }
  }

  void shapesThroughQtAfterDirectOnesUseTheCurrentPen() {
    // Settings reach Qt only when a shape needs them: a Qt shape after direct ones, and after
    // text, must still use the pen, pen mode and brush set last.
    CompareWithQt([](QtCanvas& canvas) {
      canvas.SetPen(colours::kRed);
      canvas.Line(2, 2, 2, 20);
      canvas.SetFont(colours::kBlue, FontStyle{});
      canvas.TextOut(5, 5, "7");
      canvas.Line(3, 3, 30, 17);  // slanted: drawn by Qt
      canvas.SetBrush(colours::kLime);
      canvas.SetPen(colours::kBlack, 1, PenMode::NotXor);
      canvas.Ellipse(10, 20, 30, 36);
      canvas.Rectangle(12, 22, 28, 34);
      canvas.TextOut(14, 24, "9");
      canvas.Line(4, 30, 30, 38);
    });
  }

  void textSizeFollowsTheFont() {
    QImage image = BlankImage(10, 10);
    QPainter painter(&image);
    QtCanvas canvas(painter);
    canvas.SetFont(colours::kBlack, FontStyle{false, false, 8});
    const int smallWidth = canvas.TextWidth("electrogram");
    const int smallHeight = canvas.TextHeight("electrogram");
    QVERIFY(canvas.TextWidth("electrogram 17") > smallWidth);
    canvas.SetFont(colours::kBlack, FontStyle{false, false, 16});
    QVERIFY(canvas.TextWidth("electrogram") > smallWidth * 3 / 2);
    QVERIFY(canvas.TextHeight("electrogram") > smallHeight * 3 / 2);
    canvas.SetFont(colours::kBlack, FontStyle{true, false, 8});
    QVERIFY(canvas.TextWidth("electrogram") > smallWidth);
  }
};

QTEST_MAIN(QtCanvasTest)
#include "QtCanvasTest.moc"
