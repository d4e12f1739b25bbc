// The picture and program files of the course, as the pages name them. Each name starts with a
// backslash; the shell turns it into the platform's separator when it forms the full path.
#pragma once

#include <array>
#include <string_view>

namespace content {

inline constexpr std::string_view kTitleBackground = "\\bg5.jpg";
inline constexpr std::string_view kMenuBackground = "\\bg3.jpg";
inline constexpr std::string_view kBackground = "\\bg.jpg";
inline constexpr std::string_view kRealEye = "\\realeye.jpg";
inline constexpr std::string_view kEyeFront = "\\eyefront.jpg";
inline constexpr std::string_view kEyeCross = "\\eyecross1.gif";
inline constexpr std::string_view kSpot = "\\spot.gif";
inline constexpr std::string_view kTen = "\\ten.gif";
inline constexpr std::string_view kWork = "\\work.gif";
inline constexpr std::string_view kGrey1 = "\\0grey1.jpg";
inline constexpr std::string_view kGrey2 = "\\0grey2.jpg";
inline constexpr std::string_view kLine1 = "\\1line1.gif";
inline constexpr std::string_view kLine2 = "\\2line2.jpg";
inline constexpr std::string_view kSquare1 = "\\3square1.gif";
inline constexpr std::string_view kSquare2 = "\\3square2.gif";
inline constexpr std::string_view kSlope1 = "\\4slope1.jpg";
inline constexpr std::string_view kSlope2 = "\\4slope2.jpg";
inline constexpr std::string_view kLightbulb1 = "\\5lightbulb1.jpg";
inline constexpr std::string_view kLightbulb2 = "\\5lightbulb2.jpg";
inline constexpr std::string_view kColorSq1 = "\\6colorsq1.jpg";
inline constexpr std::string_view kColorSq2 = "\\6colorsq2.jpg";
inline constexpr std::string_view kOptical = "\\7optical.exe";
inline constexpr std::string_view kFaces = "\\8faces.gif";
inline constexpr std::string_view kHead1 = "\\9head1.jpg";
inline constexpr std::string_view kHead2 = "\\9head2.jpg";

// Every picture the course reads, for checks over the whole set.
inline constexpr std::array<std::string_view, 24> kPictures = {
    kTitleBackground, kMenuBackground, kBackground, kRealEye, kEyeFront,  kEyeCross,
    kSpot,            kTen,            kWork,       kGrey1,   kGrey2,     kLine1,
    kLine2,           kSquare1,        kSquare2,    kSlope1,  kSlope2,    kLightbulb1,
    kLightbulb2,      kColorSq1,       kColorSq2,   kFaces,   kHead1,     kHead2,
};

// A short description of each picture, read out by screen readers in place of the picture.
std::string_view DescribePicture(std::string_view asset);

}  // namespace content
