#pragma once
// The user's side of the host: clicks in the drawing pick points and select objects, a right
// click and Enter end an input, Esc cancels; and the scripted user, who does the same from the
// message loop (a timer and a message posted after each input), never inside a send.

#include <windows.h>

#include "host_state.h"

namespace cadsim {

constexpr UINT_PTR kScriptedUserTimer = 2;
constexpr UINT kScriptedUserTickMs = 50;

// Starts the timer that lets the scripted user notice prompts and waits ending.
void StartScriptedUser(Host& host);

// Lets the scripted user do its next step if its prompt shows (on kRunScriptedUser and the timer).
void RunScriptedUser(Host& host);

// WM_LBUTTONDOWN and WM_RBUTTONDOWN in the main frame; position in client coordinates.
void UserClick(Host& host, bool right, int x, int y);

// WM_CHAR in the main frame or the prompt window: one UTF-16 unit or one ANSI byte, as window is.
void UserCharacter(Host& host, HWND window, WPARAM character);

}  // namespace cadsim
