#pragma once

#include <functional>

class QTabBar;
class QWidget;

namespace orvane {

// What the window's own keys do besides the buttons' shortcuts.
struct WindowKeyActions {
    std::function<void()> save; // "Save Configuration File to PC"
    std::function<void()> open; // "Open existing Configuration File from PC"
    std::function<void()> undo;
};

// Ctrl+Tab / Ctrl+Shift+Tab and Ctrl+PgDown / Ctrl+PgUp select the next and the previous tab
// (round the end) from anywhere in the window, as a person selecting the tab would; Ctrl+S,
// Ctrl+O and Ctrl+Z run the actions.
void InstallWindowKeys(QWidget* window, QTabBar* tabs, const WindowKeyActions& actions);

// The tab `step` places on from `current`, round the end.
int NextTab(int current, int step, int count);

} // namespace orvane
