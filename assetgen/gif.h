// Qt reads GIF but cannot write it, so the indexed pictures go out through giflib.
#pragma once

#include <QImage>
#include <QString>

namespace assetgen {

// Writes an indexed (Format_Indexed8) image as a GIF89a file. Returns an empty string on
// success, otherwise what went wrong.
QString WriteGif(const QImage& indexed, const QString& path);

}  // namespace assetgen
