// What a screen reader finds in the course: the window named after the page shown, its controls
// in reading order, labels with their text, pictures by what they show, a press action on every
// button and on everything a mouse press opens, and a label that appears spoken as it appears.
#pragma once

namespace forms {

void InstallAccessibility();

}  // namespace forms
