#pragma once
// What a self-painted control tells screen readers: an accessible object for its client area
// that answers name, role, state and default action from the control, and leaves the rest
// (location, parent, navigation) to the system's standard object of the window. Window-less
// parts of a window (a banner) can be added as simple children. oleacc is loaded at the first
// request, so a program that no reader asks never loads it.

#include <windows.h>

#include <string>
#include <vector>

namespace framework {

struct AccessibleFacts {
    std::u16string name;
    long role = 0;   // ROLE_SYSTEM_*
    long state = 0;  // STATE_SYSTEM_*
    std::u16string defaultAction;
    RECT screenBounds{0, 0, 0, 0};  // only used for simple children
};

class AccessibleSource {
public:
    // The control itself; a source that only adds simple children leaves itself to the system.
    virtual bool DescribesSelf() const { return true; }
    virtual AccessibleFacts Facts() const { return {}; }
    // The default action; false when there is none or the control cannot act now.
    virtual bool DoDefaultAction() { return false; }
    // Window-less parts shown as simple children after the window's own children.
    virtual std::vector<AccessibleFacts> SimpleChildren() const { return {}; }

protected:
    ~AccessibleSource() = default;
};

class AccessibleObject;

// Held by the control: hands out its object on WM_GETOBJECT and cuts it off when the control goes,
// so that a reader still holding it gets errors instead of reaching a freed control.
class AccessibleLink {
public:
    explicit AccessibleLink(AccessibleSource& source) : source_(source) {}
    ~AccessibleLink() { Disconnect(); }
    AccessibleLink(const AccessibleLink&) = delete;
    AccessibleLink& operator=(const AccessibleLink&) = delete;

    // The answer to WM_GETOBJECT for the client object; false for any other request (or when
    // the system cannot make the object), which the window's default handling then answers.
    bool Answer(HWND window, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // What a window that owns the link does with its messages: answers WM_GETOBJECT (true, with
    // result set) and cuts readers off at WM_DESTROY, so that one kept past the window gets
    // errors; false for every message the window handles itself.
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (message == WM_GETOBJECT)
            return Answer(window, wParam, lParam, result);
        if (message == WM_DESTROY)
            Disconnect();
        return false;
    }
    // Tells readers that something the object reports changed (EVENT_OBJECT_*).
    static void NotifyChange(HWND window, DWORD event);
    void Disconnect();

private:
    AccessibleSource& source_;
    AccessibleObject* object_ = nullptr;
};

// The window thread's single-threaded apartment, held for the program's life: a reader's calls
// then come through the thread's message loop one at a time, never on a thread of their own
// while the window changes or goes (an object called while its window was destroyed faulted, and
// the reader's call never returned). Made before the first window, ended after the last is gone.
class ReaderApartment {
public:
    ReaderApartment();
    ~ReaderApartment();
    ReaderApartment(const ReaderApartment&) = delete;
    ReaderApartment& operator=(const ReaderApartment&) = delete;
    // False when the thread already had another kind of apartment (nothing to end then).
    bool Entered() const { return entered_; }

private:
    bool entered_;
};

// The accessible name of a caption: the ideographic spaces that spread short Japanese captions
// ("実　行") folded away, blanks trimmed.
std::u16string AccessibleName(const std::u16string& caption);

}  // namespace framework
