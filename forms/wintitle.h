#pragma once

#include <QWidget>

namespace forms {

// Leaves the window's title bar empty. Qt fills an empty title with the program's name; a page
// window shows no text at all.
void ClearWindowTitle(QWidget& window);

}  // namespace forms
