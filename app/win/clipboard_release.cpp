#include "clipboard_release.h"

namespace app {
namespace {

bool OwnedByThisProcess() {
    DWORD process = 0;
    HWND owner = ::GetClipboardOwner();
    return owner && ::GetWindowThreadProcessId(owner, &process) && process == ::GetCurrentProcessId();
}

}  // namespace

void ClipboardRelease::Attach(HWND window) {
    ::AddClipboardFormatListener(window);
    ownedLast_ = OwnedByThisProcess();
}

bool ClipboardRelease::HandleMessage(HWND window, UINT message) {
    if (message != WM_CLIPBOARDUPDATE)
        return false;
    const bool owned = OwnedByThisProcess();
    // Only after a change away from our own content, so that others' copies are not met with an
    // open clipboard at every change.
    if (ownedLast_ && !owned && ::OpenClipboard(window))
        ::CloseClipboard();
    ownedLast_ = owned;
    return true;
}

}  // namespace app
