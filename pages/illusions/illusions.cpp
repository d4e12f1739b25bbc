// The illusion pages: a picture, a question, and an explanation hidden until Explain. Some show a
// second picture with the explanation; some replace the picture, on Explain or on NextStep.
// Illusion 7 is an animation, a program of its own held by the page's object container.
#include <optional>

#include "content/assets.h"
#include "content/texts.h"
#include "forms/page.h"
#include "pages/lesson.h"
#include "pages/pages.h"
#include "shell/course.h"

namespace pages {

using namespace content;
using shell::Event;

namespace {

enum class Second {
  None,        // one picture
  Revealed,    // Image2 appears with the explanation
  OnExplain,   // Explain also puts the second picture in place of the first
  OnNextStep,  // NextStep puts the second picture in place of the first
  Animation    // NextStep starts the program in OLE1
};

struct Page {
  std::string_view first;
  std::optional<std::string_view> second;
  Second kind;
};

// In index order: the index's button k opens illusion k.
// clang-format off
constexpr Page kPages[] = {
    {kGrey1,       kGrey2,       Second::Revealed},
    {kLine1,       std::nullopt, Second::None},
    {kLine2,       std::nullopt, Second::None},
    {kSquare1,     kSquare2,     Second::Revealed},
    {kSlope1,      kSlope2,      Second::OnExplain},
    {kLightbulb1,  kLightbulb2,  Second::OnNextStep},
    {kColorSq1,    kColorSq2,    Second::OnNextStep},
    {kOptical,     std::nullopt, Second::Animation},
    {kFaces,       std::nullopt, Second::None},
    {kHead1,       kHead2,       Second::OnNextStep},
};
// clang-format on

void Load(const Event& e, const Page& p, const content::Illusion& texts) {
  e.me.SetPicture(e.Picture(kBackground));
  if (p.kind == Second::Revealed) e.me.ImageNamed("Image2").SetVisible(false);
  e.me.LabelNamed("Label2").SetVisible(false);
  if (p.kind == Second::Animation) {
    e.me.ContainerNamed("OLE1").setEnabled(false);
  } else {
    e.me.ImageNamed("Image1").SetPicture(e.Picture(p.first));
    if (p.kind == Second::Revealed) e.me.ImageNamed("Image2").SetPicture(e.Picture(*p.second));
  }
  e.me.LabelNamed("Label1").SetCaption(Text(texts.question));
  e.me.LabelNamed("Label2").SetCaption(Text(texts.explanation));
  if (p.kind == Second::Animation)
    e.me.ContainerNamed("OLE1").CreateFromFile(e.course.AssetPath(p.first));
}

void Explain(const Event& e, const Page& p) {
  e.me.LabelNamed("Label2").SetVisible(true);
  if (p.kind == Second::Revealed) e.me.ImageNamed("Image2").SetVisible(true);
  if (p.kind == Second::OnExplain) e.me.ImageNamed("Image1").SetPicture(e.Picture(*p.second));
}

void NextStep(const Event& e, const Page& p) {
  if (p.kind == Second::Animation)
    e.me.ContainerNamed("OLE1").Activate();
  else
    e.me.ImageNamed("Image1").SetPicture(e.Picture(*p.second));
}

}  // namespace

shell::Handlers Illusion(int k) {
  const Page& p = kPages[k];
  const content::Illusion& texts = kIllusions[static_cast<std::size_t>(k)];
  shell::Handlers handlers = {
      {"Form_Load", [&p, &texts](const Event& e) { Load(e, p, texts); }},
      {"Explain_Click", [&p](const Event& e) { Explain(e, p); }},
  };
  if (p.kind == Second::OnNextStep || p.kind == Second::Animation)
    handlers.push_back({"NextStep_Click", [&p](const Event& e) { NextStep(e, p); }});
  // A picture shown only on a press is decoded then.
  handlers.pictures.push_back(kBackground);
  if (p.kind != Second::Animation) handlers.pictures.push_back(p.first);
  if (p.kind == Second::Revealed) handlers.pictures.push_back(*p.second);
  return handlers;
}

}  // namespace pages
