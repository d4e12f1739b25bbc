// Page backgrounds: light, calm fields that black text reads well on. The title and menu pages
// carry a faint iris, the eye the course is about; the illusion pages stay plain.
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "assetgen/iris.h"
#include "assetgen/pictures.h"

namespace assetgen {

namespace {

constexpr int kWidth = 661;  // the client area of a page: 9915 x 7620 twips
constexpr int kHeight = 508;

void FillGradient(QPainter& p, QColor top, QColor bottom) {
  QLinearGradient g(0, 0, 0, kHeight);
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  p.fillRect(QRectF(0, 0, kWidth, kHeight), g);
}

}  // namespace

QImage TitleBackground(int density) {
  return Supersampled(kWidth, kHeight, density, Qt::white, 2, [](QPainter& p) {
    FillGradient(p, QColor(228, 240, 250), QColor(252, 250, 244));
    // Soft light behind the two title lines.
    QRadialGradient glow(QPointF(330, 250), 330);
    glow.setColorAt(0, QColor(255, 255, 255, 200));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, kWidth, kHeight), glow);
    FaintIris(p, QPointF(590, 450), 240, QColor(40, 110, 150), 5);
    FaintIris(p, QPointF(50, 480), 110, QColor(60, 120, 110), 6);
  });
}

QImage MenuBackground(int density) {
  return Supersampled(kWidth, kHeight, density, Qt::white, 2, [](QPainter& p) {
    FillGradient(p, QColor(236, 246, 242), QColor(250, 249, 243));
    FaintIris(p, QPointF(630, 40), 180, QColor(50, 120, 120), 3);
    FaintIris(p, QPointF(30, 480), 120, QColor(40, 100, 150), 4);
  });
}

QImage PageBackground(int density) {
  QImage image = Canvas(kWidth * density, kHeight * density, Qt::white);
  QPainter p(&image);
  ToDensity(p, density);
  FillGradient(p, QColor(250, 249, 244), QColor(242, 245, 249));
  return image;
}

}  // namespace assetgen
