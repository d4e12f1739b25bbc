#pragma once

#include <QPixmap>
#include <QString>

namespace forms {

// A picture as read from a file, with a few words that say what it shows for screen readers.
struct Picture {
  QPixmap pixmap;
  QString description;
};

}  // namespace forms
