// Turning a picture file into a picture: the course reads JPEG and GIF files only, refuses
// pictures too large for a computer-room machine and pictures that have lost their end.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace shell {

// Larger pictures are refused before they are decoded: a damaged or hostile file must not be
// able to take all the memory of a computer-room machine.
inline constexpr qint64 kMaxSide = 4096;
inline constexpr qint64 kMaxBytes = 64 * 1024 * 1024;

// Reads the picture file at path (which the caller has found to be a readable regular file).
// Throws forms::Failure, naming path, when the file is too large, cannot be read or is not a
// whole JPEG or GIF picture of an acceptable size.
QImage ReadPictureFile(const QString& path);

// The same for a file's bytes; path only names the file in a failure. Needs no application
// object beyond what QImage needs.
QImage DecodePicture(const QByteArray& bytes, const QString& path);

// The bytes of the picture file at path, read whole; throws forms::Failure, naming path, when
// the file is too large or cannot be read.
QByteArray ReadPictureBytes(const QString& path);

}  // namespace shell
