#include "assetgen/ico.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cstdio>

#include "assetgen/pictures.h"

namespace assetgen {

namespace {

void Put16(QByteArray& out, quint16 v) {
  v = qToLittleEndian(v);
  out.append(reinterpret_cast<const char*>(&v), 2);
}

void Put32(QByteArray& out, quint32 v) {
  v = qToLittleEndian(v);
  out.append(reinterpret_cast<const char*>(&v), 4);
}

QByteArray Png(const QImage& image) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return png;
}

// A device-independent bitmap as icons hold it: its header counts the colour rows and the mask
// rows below them, rows run from the bottom up, blue green red alpha; the mask stays empty, the
// alpha channel says what shows.
QByteArray Dib(const QImage& image) {
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  const int w = argb.width(), h = argb.height();
  const int maskRow = ((w + 31) / 32) * 4;
  QByteArray dib;
  Put32(dib, 40);
  Put32(dib, quint32(w));
  Put32(dib, quint32(2 * h));
  Put16(dib, 1);                              // planes
  Put16(dib, 32);                             // bits per pixel
  for (int i = 0; i < 6; ++i) Put32(dib, 0);  // no compression, sizes and palette left out
  for (int y = h - 1; y >= 0; --y) {
    const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < w; ++x) Put32(dib, row[x]);  // 0xAARRGGBB: B G R A in memory
  }
  dib.append(QByteArray(maskRow * h, '\0'));
  return dib;
}

}  // namespace

QByteArray IcoFile(const QImage& image, const std::vector<int>& sizes) {
  std::vector<QByteArray> images;
  for (const int size : sizes) {
    const QImage scaled = image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    images.push_back(size >= 256 ? Png(scaled) : Dib(scaled));
  }
  QByteArray ico;
  Put16(ico, 0);
  Put16(ico, 1);  // an icon, not a cursor
  Put16(ico, quint16(sizes.size()));
  quint32 offset = quint32(6 + 16 * sizes.size());
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const auto side = char(sizes[i] >= 256 ? 0 : sizes[i]);  // 0 stands for 256
    ico.append(side).append(side).append('\0').append('\0');
    Put16(ico, 1);
    Put16(ico, 32);
    Put32(ico, quint32(images[i].size()));
    Put32(ico, offset);
    offset += quint32(images[i].size());
  }
  for (const QByteArray& data : images) ico.append(data);
  return ico;
}

int WriteWindowsIcon(const QString& file) {
  QFile out(file);
  const bool written = QDir().mkpath(QFileInfo(file).absolutePath()) &&
                       out.open(QIODevice::WriteOnly) &&
                       out.write(IcoFile(AppIcon(), {16, 20, 24, 32, 40, 48, 64, 128, 256})) > 0;
  if (!written) {
    std::fprintf(stderr, "lumora-assetgen: cannot write %s: %s\n", qPrintable(file),
                 qPrintable(out.errorString()));
    return 1;
  }
  return 0;
}

}  // namespace assetgen
