#pragma once

namespace app {

// What the application shell remembers for the whole run.
struct AppState {
    // Set once the about box has been closed with its OK button (or Escape); until then
    // the main window shows it whenever its scan button gets the focus.
    bool aboutShown = false;
};

} // namespace app
