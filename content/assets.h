// The picture and program files of the course, as the pages name them. Each name starts with a
// backslash; the shell turns it into the platform's separator when it forms the full path.
// The pictures come from content/pictures.def, the one list of them.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace content {

#define PICTURE(constant, file, description) inline constexpr std::string_view constant = "\\" file;
#include "content/pictures.def"
#undef PICTURE

// Not a picture: the animation program the object container starts.
inline constexpr std::string_view kOptical = "\\7optical.exe";

// Every picture the course reads, in the order the course meets them, for checks over the
// whole set.
inline constexpr std::array kPictures = {
#define PICTURE(constant, file, description) constant,
#include "content/pictures.def"
#undef PICTURE
};

// Each picture is also drawn two and three times as finely, for screens with more pixels to the
// inch and for full screen, in files beside it named as Qt names them: "\bg@2x.jpg". The build
// reads the factors from the next line, so it stays one line.
inline constexpr std::array kVariantFactors = {2, 3};
std::string VariantName(std::string_view picture, int factor);
// The variant a density needs (the screen's pixels for each designed pixel): the smallest that
// covers it, the finest where none does, and 1 (the picture itself) up to 1.
int VariantFactor(double density);

// A short description of each picture, read out by screen readers in place of the picture;
// empty for a name that is not one of kPictures.
std::string_view DescribePicture(std::string_view asset);

}  // namespace content
