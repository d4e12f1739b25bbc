#include "forms/colours.h"

#include <QApplication>
#include <QPalette>

namespace forms {

namespace {

// The system colours by their numbers, as the desktop palette names them.
QPalette::ColorRole SystemRole(unsigned number) {
  switch (number) {
    case 5: return QPalette::Base;  // window background
    case 6: return QPalette::Mid;   // window frame
    case 8: return QPalette::Text;  // window text
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;           // button face
    case 17: return QPalette::PlaceholderText;  // grey text
    case 18: return QPalette::ButtonText;
    case 23: return QPalette::ToolTipText;
    case 24: return QPalette::ToolTipBase;
    default: return QPalette::Window;
  }
}

}  // namespace

QColor ResolveColour(pagedesc::Colour colour) {
  if (pagedesc::IsSystemColour(colour))
    return QApplication::palette().color(SystemRole(colour & 0xFFu));
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

}  // namespace forms
