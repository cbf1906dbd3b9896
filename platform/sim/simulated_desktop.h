#pragma once
// A desktop of windows held in memory, for tests of the logic that looks for windows: each window
// has a title, a class name, an owning process, children and a place in the Z order.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/command_line_system.h"
#include "platform/window_system.h"

namespace platform::sim {

// One message that a window received, as the test double records it.
struct ReceivedMessage {
    WindowHandle window;
    unsigned message;
    bool posted;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    // WM_COPYDATA only: the record's fields and the cbData bytes it points at.
    std::uintptr_t dwData = 0;
    std::uint32_t cbData = 0;
    std::string payload;
};

class SimulatedDesktop : public WindowSystem, public CommandLineSystem, public Clipboard {
public:
    // Opens a top-level window above all others and returns its handle.
    WindowHandle AddTopLevel(const std::string& title, const std::string& className, std::uint32_t processId);
    // Opens a child as the last child of parent; it belongs to the parent's process.
    WindowHandle AddChild(WindowHandle parent, const std::string& title, const std::string& className);
    // Closes a window and all its descendants; their handles are never used again.
    void Destroy(WindowHandle window);
    // Moves a top-level window to the top of the Z order.
    void BringToTop(WindowHandle window);
    void SetTitle(WindowHandle window, const std::string& title);
    // A title in UTF-16, as a Unicode window may hold one: GetWindowTextA then gives the code
    // page's default character for what the code page cannot express.
    void SetTitleW(WindowHandle window, const std::u16string& title);

    // What a window answers, for the windows a test gives a behaviour.
    void SetUnicode(WindowHandle window, bool unicode);
    // The text WM_GETTEXT gives (the stored title stays what GetWindowTextA gives), in code page
    // bytes; the W form of the message gets it in UTF-16.
    void SetTextSource(WindowHandle window, std::function<std::string()> source);
    // Run when the window receives WM_COPYDATA (after the message is logged).
    void SetCopyDataHandler(WindowHandle window, std::function<void(const ReceivedMessage&)> handler);
    // Run when the window receives WM_COMMAND.
    void SetCommandHandler(WindowHandle window, std::function<void(std::uintptr_t wParam)> handler);
    const std::vector<ReceivedMessage>& Messages() const { return messages_; }
    void ClearMessages() {
        messages_.clear();
        idleAnswers_.clear();
        unanswered_.clear();
    }
    // The indexes in Messages() of the sends whose answers the caller called idle (AnsweredIdle).
    const std::vector<std::size_t>& IdleAnswers() const { return idleAnswers_; }
    // The records a process took but froze inside before it answered.
    const std::vector<std::size_t>& UnansweredRecords() const { return unanswered_; }
    void SetForegroundRefused(bool refused) { foregroundRefused_ = refused; }
    // While set, the windows of the process answer no send, as a program that stopped responding.
    void SetProcessFrozen(std::uint32_t processId, bool frozen) { frozenProcess_ = frozen ? processId : 0; }
    WindowHandle Foreground() const { return foreground_; }
    unsigned SleptMs() const { return slept_; }

    // The clipboard as another program would use it.
    void PutOnClipboard(unsigned format, const std::string& bytes);
    void ClearClipboardFromOutside();
    bool ClipboardHas(unsigned format) const { return clipboard_.count(format) != 0; }
    std::string ClipboardData(unsigned format) const;
    // While set, another program holds the clipboard open and OpenClipboard fails.
    void SetClipboardHeldElsewhere(bool held) { clipboardHeldElsewhere_ = held; }
    // Another program holds the clipboard open until the caller has slept this long.
    void HoldClipboardElsewhereFor(unsigned milliseconds) { clipboardHeldUntil_ = slept_ + milliseconds; }
    bool ClipboardOpen() const { return clipboardOpen_; }
    // While set, the clipboard's owner (another program) does not answer; asking it costs the time-out.
    void SetClipboardOwnerHung(bool hung) { clipboardOwnerHung_ = hung; }

    // How often each operation was called, for tests of what a lookup costs.
    struct CallCounts {
        int enumWindows = 0;
        int enumChildWindows = 0;
        int getWindowText = 0;
        int getClassName = 0;
        int getProcessId = 0;
        int isWindow = 0;
        int isWindowUnicode = 0;
        int compareString = 0;
        int sendMessage = 0;
        int postMessage = 0;
        int emptyClipboard = 0;
    };
    const CallCounts& Calls() const { return calls_; }
    void ResetCalls() { calls_ = {}; }

    void EnumWindows(const WindowVisitor& visit) override;
    void EnumChildWindows(WindowHandle parent, const WindowVisitor& visit) override;
    int GetWindowTextA(WindowHandle window, char* buffer, int count) override;
    int GetWindowTextW(WindowHandle window, char16_t* buffer, int count) override;
    int GetClassNameA(WindowHandle window, char* buffer, int count) override;
    std::uint32_t GetWindowThreadProcessId(WindowHandle window) override;
    bool IsWindow(WindowHandle window) override;
    int CompareStringA(const char* left, int leftLength, const char* right, int rightLength) override;

    bool IsWindowUnicode(WindowHandle window) override;
    bool SetForegroundWindow(WindowHandle window) override;
    Delivery SendCopyData(WindowHandle window, const CopyDataRecord& record) override;
    void AnsweredIdle(WindowHandle) override { idleAnswers_.push_back(messages_.size() - 1); }
    std::optional<std::intptr_t> SendMessageA(WindowHandle window,
                                              unsigned message,
                                              std::uintptr_t wParam,
                                              std::intptr_t lParam) override;
    std::optional<std::intptr_t> SendMessageW(WindowHandle window,
                                              unsigned message,
                                              std::uintptr_t wParam,
                                              std::intptr_t lParam) override;
    bool PostMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool AnswersNow(WindowHandle window) override;
    bool AnswersInTime(WindowHandle window) override { return AnswersNow(window); }
    std::string WideToAnsi(const std::u16string& text) override;
    std::u16string AnsiToWide(const std::string& text) override;
    void Sleep(unsigned milliseconds) override { slept_ += milliseconds; }
    // Time passes here only while the caller sleeps.
    std::uint64_t GetTickCount64() override { return slept_; }

    bool OwnerAnswers() override;
    bool OpenClipboard() override;
    bool CloseClipboard() override;
    bool EmptyClipboard() override;
    std::vector<unsigned> Formats() override;
    bool GetClipboardData(unsigned format, std::string& bytes) override;
    bool ViewClipboardData(unsigned format, const std::function<void(std::string_view)>& look) override;
    bool SetClipboardData(unsigned format, const std::string& bytes) override;

private:
    struct Behaviour {
        bool unicode = true;
        std::function<std::string()> textSource;
        std::function<void(const ReceivedMessage&)> copyDataHandler;
        std::function<void(std::uintptr_t)> commandHandler;
    };

    struct Window {
        std::string title;
        std::u16string wideTitle;  // set only by SetTitleW
        std::string className;
        std::uint32_t processId = 0;
        WindowHandle parent = 0;
        std::vector<WindowHandle> children;
        bool alive = true;
    };

    const Window* Find(WindowHandle window) const;
    Window* FindMutable(WindowHandle window);
    WindowHandle Open(Window window);
    void WalkTopLevel(const WindowVisitor& visit);
    bool VisitDescendants(WindowHandle parent, const WindowVisitor& visit);
    // A copy of list for one walk, made in storage kept from earlier walks: a visitor may open or
    // close windows, and a walk should not cost an allocation. Given back by a WalkScope.
    const std::vector<WindowHandle>& WalkCopy(const std::vector<WindowHandle>& list);
    // Gives a walk's copy back however the walk ends (a visitor may throw).
    struct WalkScope {
        SimulatedDesktop& desktop;
        ~WalkScope() { --desktop.walkDepth_; }
    };
    static int CopyText(const std::string& text, char* buffer, int count);
    // Logs a message sent to a window that answers; its behaviour, if a test gave it one, through
    // behaviour. False when the window is gone or its process frozen.
    bool TakeSent(WindowHandle window,
                  unsigned message,
                  std::uintptr_t wParam,
                  std::intptr_t lParam,
                  const Behaviour*& behaviour);
    // WM_GETTEXTLENGTH, WM_GETTEXT and WM_COMMAND in either form; Unit is char or char16_t.
    template <typename Unit>
    std::intptr_t AnswerSent(WindowHandle window,
                             unsigned message,
                             std::uintptr_t wParam,
                             std::intptr_t lParam,
                             const Behaviour* behaviour);

    // Handles are given out in steps from a first one and never again, so a window is found by
    // its place here rather than by a search (fuzzing looks windows up millions of times).
    std::vector<Window> windows_;
    std::vector<WindowHandle> zOrder_;                  // top-level windows, topmost first
    std::deque<std::vector<WindowHandle>> walkCopies_;  // one per nested walk; a deque keeps them in place
    std::size_t walkDepth_ = 0;
    CallCounts calls_;

    std::map<WindowHandle, Behaviour> behaviours_;
    std::vector<ReceivedMessage> messages_;
    std::vector<std::size_t> idleAnswers_;
    std::vector<std::size_t> unanswered_;
    bool foregroundRefused_ = false;
    WindowHandle foreground_ = 0;
    unsigned slept_ = 0;

    std::map<unsigned, std::string> clipboard_;
    std::vector<unsigned> clipboardOrder_;
    bool clipboardOpen_ = false;
    bool clipboardHeldElsewhere_ = false;
    bool clipboardOwnerHung_ = false;
    unsigned clipboardHeldUntil_ = 0;
    std::uint32_t frozenProcess_ = 0;
};

}  // namespace platform::sim
