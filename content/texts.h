// The course texts, Traditional Chinese, UTF-8. Lengths are counted in characters (code points),
// leading spaces included.
#pragma once

#include <array>
#include <string_view>
#include <vector>

namespace content {

// Main menu
extern const std::string_view kMenuIntro;  // Label5 of the menu, 91 characters

// Eye chapter
extern const std::string_view kEyeStructureTitle;    // "眼睛的構造"
extern const std::string_view kEyeWorkingTitle;      // "眼睛的運作"
extern const std::string_view kParagraphA;           // outer parts of the eye, 98 characters
extern const std::string_view kParagraphB;           // pupil, iris, cornea, sclera..., 134
extern const std::string_view kParagraphC;           // lens, retina, blind spot, 97
extern const std::string_view kParagraphD;           // how the eye forms an image, 111
extern const std::string_view kRightEyeInstruction;  // 39
extern const std::string_view kLeftEyeInstruction;   // 35

// Senses and illusions chapter
extern const std::string_view kSensesTitle;
extern const std::string_view kSensesParagraph;  // 211
extern const std::string_view kIllusionTitle;
extern const std::string_view kIllusionParagraph;  // 193
extern const std::string_view kIndexPrompt;

// The ten illusions in index order: the question (Label1) and the explanation (Label2).
struct Illusion {
  std::string_view question;
  std::string_view explanation;
};
extern const std::array<Illusion, 10> kIllusions;

// Every text above, for work over the whole course (checks, preparing fonts).
std::vector<std::string_view> AllTexts();

// Heard, never shown: what a screen reader says as the blind-spot sweeps start and end, and
// where a page stands in its chapter, said after the page's name (%1 the page, %2 how many).
extern const std::string_view kCrossStartsMoving;  // the left-eye sweep
extern const std::string_view kCrossStopped;
extern const std::string_view kDotStartsMoving;  // the right-eye sweep
extern const std::string_view kDotStopped;
extern const std::string_view kPlaceInChapter;
std::vector<std::string_view> SpokenTexts();

}  // namespace content
