// Where the pages put their part-name labels over the eye diagrams. The diagrams take their
// leader lines from here, and the contact sheet draws the labels over them as the pages will.
#pragma once

#include <QRectF>
#include <QString>
#include <vector>

namespace assetgen {

struct DiagramLabel {
  QString text;
  int left, top, width, height;  // twips on the page
};

struct Diagram {
  QString file;
  int imageLeft, imageTop;  // twips on the page
  int fontPixels;           // the labels' bold Ming font: 24 pt is 32 px, 15.75 pt is 21 px
  std::vector<DiagramLabel> labels;

  // The label's box in picture pixels.
  QRectF Box(const DiagramLabel& label) const {
    return QRectF((label.left - imageLeft) / 15.0, (label.top - imageTop) / 15.0,
                  label.width / 15.0, label.height / 15.0);
  }
  // Where the characters of a centred one-line caption stand, in picture pixels: each
  // character about one em wide, the line at the top of the box.
  QRectF TextRect(const DiagramLabel& label) const {
    const QRectF box = Box(label);
    const double w = label.text.size() * fontPixels;
    return QRectF(box.center().x() - w / 2, box.top(), w, fontPixels * 1.1);
  }
  const DiagramLabel& Label(const QString& text) const {
    for (const DiagramLabel& l : labels) {
      if (l.text == text) return l;
    }
    qFatal("no diagram label %s", qPrintable(text));
  }
};

inline const Diagram& EyeFrontLabels() {
  static const Diagram d{"eyefront.jpg",
                         1800,
                         2520,
                         32,
                         {{"角膜", 1680, 3000, 1335, 615},
                          {"瞳孔", 1560, 4200, 1335, 615},
                          {"虹膜", 1680, 5520, 1335, 615},
                          {"眼肌", 6720, 2880, 1335, 615},
                          {"鞏膜", 7080, 3600, 1335, 615},
                          {"視神經", 6960, 5280, 1695, 615}}};
  return d;
}

inline const Diagram& EyeCrossLabels() {
  static const Diagram d{"eyecross1.gif",
                         2040,
                         2280,
                         32,
                         {{"角膜", 1080, 2760, 1575, 735},
                          {"瞳孔", 1080, 3480, 1575, 735},
                          {"晶狀體", 720, 4560, 2055, 735},
                          {"虹膜", 1440, 5400, 1455, 735},
                          {"鞏膜", 7440, 2400, 1455, 615},
                          {"視網膜", 7320, 3120, 2175, 735},
                          {"視神經", 7560, 3840, 1575, 735},
                          {"盲點", 7080, 5160, 1335, 735}}};
  return d;
}

inline const Diagram& EyeWorkingLabels() {
  static const Diagram d{"work.gif",
                         2640,
                         3480,
                         21,
                         {{"視神經", 2760, 3480, 1095, 375}, {"晶狀體", 4560, 3720, 1095, 375}}};
  return d;
}

}  // namespace assetgen
