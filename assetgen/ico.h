// lumora.ico: the program's icon as Windows takes it into an executable and its shortcuts.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

namespace assetgen {

// An icon file holding the image at each size: 32-bit bitmaps up to 128 pixels (which every
// reader of icons takes), PNG at 256 (as Windows stores its large icons).
QByteArray IcoFile(const QImage& image, const std::vector<int>& sizes);

// The course's icon at the sizes Windows asks for, from 16 to 256 pixels; 0 when written.
int WriteWindowsIcon(const QString& file);

}  // namespace assetgen
