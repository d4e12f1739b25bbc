// Where the pages put their part-name labels over the eye diagrams. The diagrams take their
// leader lines from here, and the contact sheet draws the labels over them as the pages will.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <string_view>
#include <vector>

#include "content/assets.h"
#include "pagedesc/descriptions.h"

namespace assetgen {

struct DiagramLabel {
  QString text;
  int left, top, width, height;  // twips on the page
};

struct Diagram {
  QString file;             // without the course constant's leading backslash
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

// The part names are the centred labels of the page, read from its description so that the
// diagram and the page cannot drift apart.
inline Diagram FromPage(std::string_view picture, const pagedesc::PageDescription& p,
                        std::string_view image) {
  const pagedesc::ControlDescription& box = *p.Find(image);
  const QString file =
      QString::fromLatin1(picture.substr(1).data(), static_cast<qsizetype>(picture.size() - 1));
  Diagram d{file, box.left, box.top, 0, {}};
  for (const pagedesc::ControlDescription& c : p.controls) {
    if (c.kind != pagedesc::Kind::Label || c.alignment != pagedesc::Alignment::Centre) continue;
    d.fontPixels = static_cast<int>(c.font->Points() * 96 / 72);
    d.labels.push_back(
        {QString::fromUtf8(c.caption.data(), static_cast<qsizetype>(c.caption.size())), c.left,
         c.top, c.width, c.height});
  }
  return d;
}

// A thin line from beside a label's text to the part it names, ending in a dot on the part.
void Leader(QPainter& p, const Diagram& diagram, const QString& label, QPointF part, QColor colour);

inline const Diagram& EyeFrontLabels() {
  static const Diagram d = FromPage(content::kEyeFront, pagedesc::pages::Form18(), "Image2");
  return d;
}

inline const Diagram& EyeCrossLabels() {
  static const Diagram d = FromPage(content::kEyeCross, pagedesc::pages::Form19(), "Image2");
  return d;
}

inline const Diagram& EyeWorkingLabels() {
  static const Diagram d = FromPage(content::kWork, pagedesc::pages::Form22(), "Image2");
  return d;
}

}  // namespace assetgen
