#pragma once
// The command line's Win32 edge: WM_COPYDATA records to the main frame become keystrokes, and
// WM_COMMAND 32781 to the text window puts the whole history on the clipboard.

#include <windows.h>

#include "host_state.h"

namespace cadsim {

// dwData of a record that carries keystrokes.
constexpr ULONG_PTR kKeystrokeRecord = 1;
// WM_COMMAND identifier of the text window's "copy history".
constexpr WORD kCopyHistoryCommand = 32781;
// Posted to the main frame for each record queued in InputMode::After without a delay.
constexpr UINT kTypeQueuedInput = WM_APP + 1;
// Timer of the main frame that ends the delay of queued records.
constexpr UINT_PTR kQueuedInputTimer = 1;

// Logs the record; a keystroke record to the main frame is typed now or queued, as host.input asks.
LRESULT ReceiveCopyData(Host& host, HWND window, const COPYDATASTRUCT* record);

// Types the oldest queued record (on kTypeQueuedInput).
void TypeQueuedInput(Host& host);

// Types every queued record when kQueuedInputTimer fires; with a line delay, the next line only.
void TypeDelayedInput(Host& host, HWND mainFrame);

// Timer of the text window that ends a hold of the clipboard (--hold-clipboard).
constexpr UINT_PTR kClipboardHoldTimer = 2;

// Puts the history on the clipboard as CF_TEXT, one line per history line, each ended by CR LF,
// with owner as the clipboard's owner. False when the clipboard stayed busy.
bool CopyHistoryToClipboard(const Host& host, HWND owner);

// Opens the clipboard again right after a history copy, when host.clipboardHoldMs asks for it; it
// is closed when kClipboardHoldTimer fires (EndClipboardHold).
void HoldClipboard(Host& host, HWND textWindow);
void EndClipboardHold(Host& host, HWND textWindow);

}  // namespace cadsim
