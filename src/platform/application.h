// What the program sets on the application object before its first window.
#pragma once

namespace qv::app {

// The family the windows are drawn in. Asked for by name: a machine's
// "sans-serif" may resolve to a fixed-pitch face (with only the Liberation
// fonts installed it is Liberation Mono).
inline constexpr const char* kWindowFontFamily = "Liberation Sans";

// Names the application and gives it the windows' font, keeping the point
// size the platform chose. Needs the QApplication to exist.
void prepare();

}  // namespace qv::app
