#include "assetgen/gif.h"

#include <gif_lib.h>

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <vector>

namespace assetgen {

namespace {

// giflib hands the encoded bytes here; the file is written through Qt so that it gets the
// usual permissions and is replaced whole or not at all.
int Append(GifFileType* gif, const GifByteType* bytes, int length) {
  static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
  return length;
}

}  // namespace

QString WriteGif(const QImage& indexed, const QString& path) {
  if (indexed.format() != QImage::Format_Indexed8) return QStringLiteral("not an indexed image");
  const QList<QRgb> table = indexed.colorTable();
  // A GIF colour map has a power-of-two size; unused entries stay black.
  int mapSize = 2;
  while (mapSize < table.size()) mapSize *= 2;
  std::vector<GifColorType> colours(mapSize, GifColorType{0, 0, 0});
  for (int i = 0; i < table.size(); ++i) {
    colours[i] = GifColorType{static_cast<GifByteType>(qRed(table[i])),
                              static_cast<GifByteType>(qGreen(table[i])),
                              static_cast<GifByteType>(qBlue(table[i]))};
  }
  ColorMapObject* map = GifMakeMapObject(mapSize, colours.data());
  if (!map) return QStringLiteral("out of memory for the colour map");

  int error = 0;
  QByteArray encoded;
  GifFileType* gif = EGifOpen(&encoded, Append, &error);
  if (!gif) {
    GifFreeMapObject(map);
    return QString::fromUtf8(GifErrorString(error));
  }
  EGifSetGifVersion(gif, true);
  const int w = indexed.width();
  const int h = indexed.height();
  bool ok = EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK &&
            EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
  std::vector<GifPixelType> line(w);
  for (int y = 0; ok && y < h; ++y) {
    const uchar* src = indexed.constScanLine(y);
    std::copy(src, src + w, line.begin());
    ok = EGifPutLine(gif, line.data(), w) == GIF_OK;
  }
  const int writeError = ok ? 0 : gif->Error;
  GifFreeMapObject(map);
  if (EGifCloseFile(gif, &error) != GIF_OK && ok) return QString::fromUtf8(GifErrorString(error));
  if (!ok) return QString::fromUtf8(GifErrorString(writeError));
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(encoded) != encoded.size() || !file.commit()) {
    return file.errorString();
  }
  // The save file keeps its private temporary mode; the pictures are for every pupil's account.
  QFile::setPermissions(path,
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
  return {};
}

}  // namespace assetgen
