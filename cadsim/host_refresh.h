#pragma once
// What follows every change of the command line or the drawing, whoever made it (typed records,
// the mouse, the keyboard, the scripted user): the log gets what happened, the windows repaint,
// and the scripted user gets a look at the new prompt from the message loop.

#include "host_state.h"

namespace cadsim {

// Posted to the anchor window so that the scripted user acts after the current message, never
// inside a WM_COPYDATA send.
constexpr UINT kRunScriptedUser = WM_APP + 2;

// Posted to the anchor window when a wait begins with --freeze-waits: the host stops answering
// once the message that began the wait has been answered, as a busy host does between messages.
constexpr UINT kFreezeAtWait = WM_APP + 3;

void AfterInput(Host& host);

// Stops answering for the oldest wait of host.freezes (on kFreezeAtWait).
void FreezeAtWait(Host& host);

}  // namespace cadsim
