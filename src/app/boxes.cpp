// The two edit boxes are controls of the main window; this file only maps them to it, so that a
// test of another part can put its own GetBoxText/SetBoxText in their place.
#include "app/boxes.h"

#include "app/main_window.h"
#include "platform/ui.h"

namespace quorvel {
namespace {

int ControlOf(Box box) { return box == Box::kShare ? kShareBox : kResultBox; }

}  // namespace

Text GetBoxText(Box box) { return platform::GetControlText(ControlOf(box)); }

void SetBoxText(Box box, const Text& text) { platform::SetControlText(ControlOf(box), text); }

}  // namespace quorvel
