// A GIF whose screen and one frame are of the given sizes while its data holds a single pixel:
// at 65535 × 65535 a decompression bomb of 16 GiB in a few dozen bytes.
#pragma once

#include <QByteArray>

namespace testing {

inline QByteArray Gif(quint16 screenWidth, quint16 screenHeight, quint16 width, quint16 height) {
  QByteArray b("GIF89a");
  auto word = [&b](quint16 v) { b.append(char(v & 0xff)).append(char(v >> 8)); };
  word(screenWidth);
  word(screenHeight);
  b.append("\x80\x00\x00\x00\x00\x00\xff\xff\xff", 9);  // a global map of two colours
  b.append(',');
  for (quint16 v : {quint16(0), quint16(0), width, height}) word(v);
  b.append('\x00');
  b.append("\x02\x02\x44\x01\x00", 5);  // clear, one pixel, end of information
  b.append(';');
  return b;
}

}  // namespace testing
