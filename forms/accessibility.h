// What a screen reader finds in the course: the window named after the page shown, its controls
// in reading order, labels with their text, pictures by what they show, and a press action on
// every button and on everything a mouse press opens.
#pragma once

namespace forms {

void InstallAccessibility();

}  // namespace forms
