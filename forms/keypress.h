// One press of a key that clicks a button (Enter, Space) is one click, however long the key is
// held: its repeats never reach a control.
#pragma once

namespace forms {

// Watches the keyboard for the whole program; called once at start-up, after the application
// has connected to the window system.
void ClickOncePerPress();

}  // namespace forms
