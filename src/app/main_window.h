// The main window: what it looks like, which button runs which command, and the start-up sequence
// that opens it.
#pragma once

#include <functional>

#include "platform/ui.h"

namespace quorvel {

// Indices of the controls in MainWindowDescription().controls.
enum MainWindowControl : int {
  kShareFrame = 0,
  kShareBox = 1,
  kResultFrame = 2,
  kResultBox = 3,
  kResolveButton = 4,
  kCopyButton = 5,
  kBrowserButton = 6,
};

// The window, its caption, its outer size and its seven controls.
const platform::WindowDescription& MainWindowDescription();

// What the three buttons run. An empty handler makes its button do nothing.
struct ClickHandlers {
  std::function<void()> resolve;
  std::function<void()> copy;
  std::function<void()> openInBrowser;
};

// Builds the main window centred on the screen, wires the buttons to `handlers` and fills the
// share box from the clipboard (PrefillShareBox) before any input is handled. False when the
// window could not be built. Needs a platform::GuiThread.
bool OpenMainWindow(ClickHandlers handlers);

// The whole run: prepares the GUI thread, opens the main window and handles messages until the
// user closes it. Returns the process's exit code. Nothing is saved.
int RunMainWindow(ClickHandlers handlers);

}  // namespace quorvel
