// The window toolkit: one top-level window built from a description, its controls' texts, the
// message loop and the message box. Texts cross this interface in code page 936; each platform
// converts them to what its toolkit shows.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "textkit/text.h"

namespace quorvel::platform {

enum class ControlKind { kGroupBox, kEditBox, kPushButton };

// How an edit box behaves, in the terms of the Windows edit styles that give each setting.
struct EditSettings {
  bool multiLine = false;          // ES_MULTILINE
  bool autoHScroll = false;        // ES_AUTOHSCROLL: one line scrolls sideways, no wrapping
  bool autoVScroll = false;        // ES_AUTOVSCROLL
  bool wantReturn = false;         // ES_WANTRETURN: Enter inserts a line break
  bool verticalScrollBar = false;  // WS_VSCROLL
  bool centred = false;            // ES_CENTER
};

// One child control of the window. Places are relative to the window's client area. Edit boxes
// have a sunken border and black text on white; push buttons are ordinary (not default) buttons
// with their caption centred and wrapped; group boxes only frame and label.
struct ControlDescription {
  std::string_view id;    // a stable ASCII name, e.g. for finding the control in tests
  std::string_view name;  // the control's name on its form, code page 936
  ControlKind kind;
  int x, y, width, height;
  std::string_view text;  // the text at start, code page 936
  bool tabStop;
  EditSettings edit;  // edit boxes only
};

// The main window: a fixed-size frame with a caption, a system menu and a close box only, the
// button-face background and the default GUI font, centred on the primary screen.
struct WindowDescription {
  std::string_view caption;  // code page 936
  int width, height;         // of the outer frame
  // In creation and tab order; a group box comes before the controls it frames and lies behind
  // them.
  std::span<const ControlDescription> controls;
};

struct WindowEvents {
  // Runs once every control exists, before any user input is handled.
  std::function<void()> created;
  // A click on the push button at this index of the description's controls.
  std::function<void(int control)> clicked;
};

// Prepares the calling thread to be the program's GUI thread for as long as it lives: on Windows
// OLE is initialised and the working directory becomes the executable's folder. Its end destroys
// the main window if it still exists.
class GuiThread {
 public:
  GuiThread();
  ~GuiThread();
  GuiThread(const GuiThread&) = delete;
  GuiThread& operator=(const GuiThread&) = delete;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Builds the one main window and its controls, centred on the primary screen, shows it and runs
// `events.created`. A window built before is destroyed first. False when the window could not be
// built. Needs a GuiThread.
bool CreateMainWindow(const WindowDescription& description, WindowEvents events);

// Handles messages until the user closes the main window.
void RunMessageLoop();

// The whole text of the control at `control` in code page 936 (lines separated by CR LF); the
// empty text when there is no window or no such control.
Text GetControlText(int control);

// Replaces the whole text of the control; does nothing when there is no window or no such control.
void SetControlText(int control, const Text& text);

// A message box with one OK button and no icon, owned by no window and modal for the whole
// program; returns when the user dismisses it.
void ShowMessageBox(const Text& text, const Text& caption);

}  // namespace quorvel::platform
