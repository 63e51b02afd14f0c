#include <QImage>
#include <QtTest>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "core/Canvas.h"
#include "ui/PixelPolyline.h"

using velmora::PixelPolyline;
using velmora::Point;

namespace {

QImage White(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(qRgb(255, 255, 255));
  return image;
}

// Plain Bresenham, pixel by pixel, both ends included: what the fast drawing must equal.
void ReferenceSegment(QImage& image, QRgb colour, Point a, Point b) {
  const int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
  const int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    if (image.rect().contains(a.x, a.y)) image.setPixel(a.x, a.y, colour);
    if (a.x == b.x && a.y == b.y) return;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      a.x += sx;
    }
    if (twice <= dx) {
      error += dx;
      a.y += sy;
    }
  }
}

int InkCount(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) != qRgb(255, 255, 255);
  return count;
}

}  // namespace

class PixelPolylineTest : public QObject {
  Q_OBJECT

 private slots:
  void verticalAndHorizontalSegmentsIncludeBothEnds() {
    QImage image = White(20, 20);
    const std::vector<Point> points = {{3, 2}, {3, 9}, {12, 9}};
    QVERIFY(PixelPolyline::Draw(image, qRgb(0, 128, 0), points.data(), points.size()));
    QCOMPARE(InkCount(image), 8 + 9);
    QCOMPARE(image.pixel(3, 2), qRgb(0, 128, 0));
    QCOMPARE(image.pixel(12, 9), qRgb(0, 128, 0));
    QCOMPARE(image.pixel(13, 9), qRgb(255, 255, 255));
  }

  void aSinglePointIsOnePixel() {
    QImage image = White(5, 5);
    const Point point{2, 2};
    QVERIFY(PixelPolyline::Draw(image, qRgb(0, 0, 0), &point, 1));
    QCOMPARE(InkCount(image), 1);
  }

  void denseTracesEqualDrawingEverySegment() {
    // Many points per column, steep and shallow segments, points outside the image.
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
      std::vector<Point> points;
      int y = 50;
      for (int i = 0; i < 3000; ++i) {
        y += int(random() % 41) - 20;
        points.push_back({-20 + i / int(1 + random() % 9), y});
      }
      QImage fast = White(300, 120), slow = White(300, 120);
      QVERIFY(PixelPolyline::Draw(fast, qRgb(0, 128, 0), points.data(), points.size()));
      for (size_t i = 1; i < points.size(); ++i) ReferenceSegment(slow, qRgb(0, 128, 0), points[i - 1], points[i]);
      QCOMPARE(fast, slow);
    }
  }

  void stepsIntoNeighbourColumnsEqualDrawingEverySegment() {
    // Back and forth between neighbouring columns, both ways, with climbs of every height.
    std::mt19937 random(11);
    std::vector<Point> points{{100, 60}};
    for (int i = 0; i < 4000; ++i) {
      const Point last = points.back();
      const int step = int(random() % 3) - 1;
      points.push_back({std::clamp(last.x + step, 2, 197), std::clamp(last.y + int(random() % 81) - 40, -10, 130)});
    }
    QImage fast = White(200, 120), slow = White(200, 120);
    QVERIFY(PixelPolyline::Draw(fast, qRgb(0, 0, 255), points.data(), points.size()));
    for (size_t i = 1; i < points.size(); ++i) ReferenceSegment(slow, qRgb(0, 0, 255), points[i - 1], points[i]);
    QCOMPARE(fast, slow);
  }

  void otherImageFormatsAreLeftToQt() {
    QImage image(10, 10, QImage::Format_Grayscale8);
    image.fill(255);
    const std::vector<Point> points = {{1, 1}, {8, 8}};
    QVERIFY(!PixelPolyline::Draw(image, qRgb(0, 0, 0), points.data(), points.size()));
    QCOMPARE(image.pixelColor(4, 4), QColor(255, 255, 255));
  }
};

QTEST_MAIN(PixelPolylineTest)
#include "PixelPolylineTest.moc"
