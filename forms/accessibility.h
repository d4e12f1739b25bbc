// What a screen reader finds in the course: the window named after the page shown, its controls
// in reading order, labels with their text, pictures by what they show, a press action on every
// button and on everything a mouse press opens, and news of the page the pupil is on spoken as
// it happens.
#pragma once

#include <QString>

class QWidget;

namespace forms {

class ImageBox;
class Page;

void InstallAccessibility();

// Tells the pupil's screen reader news of the page the pupil is on, a sentence or two, without
// moving the focus: the blind-spot sweep starting and ending. What appears on that page (a label,
// a picture) and a picture that takes another's place are told by themselves, together once the
// handler that changed them is done.
void Announce(const Page& page, const QString& news);
// The picture of an image box has changed: told as news if its page is the pupil's.
void PictureChanged(const ImageBox& image);

// The means every platform's Qt bridge carries (see TellScreenReader): the control with the
// focus describes itself with the news until the focus leaves it, and screen readers speak a
// change to the focused control's description.
void SpeakAsDescription(QWidget& focus, const QString& news);

}  // namespace forms
