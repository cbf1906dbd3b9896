#pragma once
// What follows every change of the command line or the drawing, whoever made it (typed records,
// the mouse, the keyboard, the scripted user): the log gets what happened, the windows repaint,
// and the scripted user gets a look at the new prompt from the message loop.

#include "host_state.h"

namespace cadsim {

// Posted to the anchor window so that the scripted user acts after the current message, never
// inside a WM_COPYDATA send.
constexpr UINT kRunScriptedUser = WM_APP + 2;

void AfterInput(Host& host);

}  // namespace cadsim
