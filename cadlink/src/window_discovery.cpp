#include "cadlink/window_discovery.h"

#include <array>
#include <cstring>

#include "cadlink/text_match.h"

namespace cadlink {
namespace {

// Titles and class names are read into 256-byte buffers with a count of 255, as the host's own
// tools do, so at most 254 bytes of either take part in a test.
constexpr int kTextBufferSize = 256;
constexpr int kTextCount = 255;

using TextBuffer = std::array<char, kTextBufferSize>;

std::string ReadTitle(platform::WindowSystem& windows, WindowHandle window, TextBuffer& buffer) {
    buffer.fill('\0');
    windows.GetWindowTextA(window, buffer.data(), kTextCount);
    return std::string(buffer.data());
}

std::string ReadClass(platform::WindowSystem& windows, WindowHandle window) {
    TextBuffer buffer{};
    windows.GetClassNameA(window, buffer.data(), kTextCount);
    return std::string(buffer.data());
}

enum class Family { None, AutoCad, DraftSight };

Family ClassifyTitle(const std::string& title) {
    if (BytePrefix(title, "AutoCAD ") || BytePrefix(title, "Autodesk ") || BytePrefix(title, "ACAD"))
        return Family::AutoCad;
    if (BytePrefix(title, "DraftSight"))
        return Family::DraftSight;
    return Family::None;
}

bool IsAfxClassWith(const std::string& className, const char* marker) {
    return BytePrefix(className, "Afx:") && ByteContains(className, marker);
}

bool AutoCadFrameClass(const std::string& className) {
    static const char* const kMdiFrames[] = {
        "AfxMDIFrame10u",  "AfxMDIFrame20u",  "AfxMDIFrame30u",  "AfxMDIFrame40u",  "AfxMDIFrame50u",
        "AfxMDIFrame60u",  "AfxMDIFrame70u",  "AfxMDIFrame80u",  "AfxMDIFrame90u",  "AfxMDIFrame100u",
        "AfxMDIFrame110u", "AfxMDIFrame120u", "AfxMDIFrame130u", "AfxMDIFrame140u",
    };
    bool matched = IsAfxClassWith(className, ":8:");
    for (const char* frame : kMdiFrames)
        matched = ByteContains(className, frame) || matched;
    return matched;
}

}  // namespace

bool WindowDiscovery::MainFrameLive() {
    if (IsLive(kept_.MainFrame))
        return true;
    if (held_)
        return false;  // the run's CAD program has gone: another one is not typed into instead
    windows_.EnumWindows([this](WindowHandle w) { return MatchMainFrame(w); });
    return IsLive(kept_.MainFrame);
}

WindowHandle WindowDiscovery::FindMainFrame() {
    MainFrameLive();
    return kept_.MainFrame;
}

WindowHandle WindowDiscovery::ChooseTopMainFrame() {
    const KeptWindows before = kept_;
    kept_.MainFrame = 0;
    windows_.EnumWindows([this](WindowHandle w) { return MatchMainFrame(w); });
    if (kept_.MainFrame == 0) {
        kept_ = before;
        return kept_.MainFrame;
    }
    held_ = true;
    if (kept_.MainFrame != before.MainFrame) {
        kept_.TextWindow = 0;
        kept_.Palette = 0;
        kept_.PromptWindow = 0;
        kept_.HistoryPane = 0;
    }
    return kept_.MainFrame;
}

std::u16string WindowDiscovery::MainFrameTitle() {
    if (!IsLive(kept_.MainFrame))
        return std::u16string();
    // A title may be far longer than the 254 bytes the matchers look at; the whole is wanted here.
    std::u16string title(32 * 1024, u'\0');
    const int length = windows_.GetWindowTextW(kept_.MainFrame, title.data(), static_cast<int>(title.size()));
    title.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return title;
}

bool WindowDiscovery::IsCadReady() {
    return MainFrameLive();
}

WindowHandle WindowDiscovery::FindTextWindow() {
    // Read before every history exchange: one question keeps the found window while it lives in
    // the CAD program's process (a dead window has no process), instead of a walk over every
    // top-level window of the desktop. A CAD program started again has another process.
    if (kept_.TextWindow != 0 && kept_.MainProcessId != 0 &&
        windows_.GetWindowThreadProcessId(kept_.TextWindow) == kept_.MainProcessId)
        return kept_.TextWindow;
    kept_.TextWindow = 0;
    windows_.EnumWindows([this](WindowHandle w) { return MatchTextWindow(w); });
    return kept_.TextWindow;
}

WindowHandle WindowDiscovery::FindPromptWindow() {
    return FindCommandLineChild(&KeptWindows::PromptWindow);
}

WindowHandle WindowDiscovery::FindHistoryPane() {
    return FindCommandLineChild(&KeptWindows::HistoryPane);
}

WindowHandle WindowDiscovery::FindCommandLineChild(WindowHandle KeptWindows::*field) {
    if (!MainFrameLive())
        return 0;
    // The steady state of the per-poll reads: two liveness tests and nothing else.
    if (IsLive(kept_.*field))
        return kept_.*field;
    auto matchChild = [this](WindowHandle w) { return MatchCommandLineChild(w); };
    windows_.EnumChildWindows(kept_.MainFrame, matchChild);
    if (!IsLive(kept_.*field)) {
        // The command line may float in its own palette, or live in the text window.
        otherPalette_ = 0;
        windows_.EnumWindows([this](WindowHandle w) { return MatchCommandLinePalette(w); });
        if (!IsLive(kept_.Palette) && otherPalette_ != 0)
            kept_.Palette = otherPalette_;
        if (IsLive(kept_.Palette)) {
            windows_.EnumChildWindows(kept_.Palette, matchChild);
        } else if (IsLive(FindTextWindow())) {
            windows_.EnumChildWindows(kept_.TextWindow, matchChild);
        } else {
            // Without a text window the walk covers the top-level windows of every program; only
            // the CAD program's own count, so that another program's window titled "input" or
            // "output" is never read as the prompt or drawn over as the history.
            windows_.EnumChildWindows(0, [this](WindowHandle w) {
                return windows_.GetWindowThreadProcessId(w) != kept_.MainProcessId || MatchCommandLineChild(w);
            });
        }
    }
    return IsLive(kept_.*field) ? kept_.*field : 0;
}

bool WindowDiscovery::MatchMainFrame(WindowHandle window) {
    TextBuffer buffer;
    const std::string title = ReadTitle(windows_, window, buffer);
    if (title.empty())
        return true;
    const Family family = ClassifyTitle(title);
    if (family == Family::None)
        return true;
    const std::string className = ReadClass(windows_, window);
    const bool matched = family == Family::AutoCad ? AutoCadFrameClass(className) : ByteContains(className, "QPopup");
    if (!matched)
        return true;
    kept_.MainFrame = window;
    kept_.MainProcessId = windows_.GetWindowThreadProcessId(window);
    return false;
}

bool WindowDiscovery::MatchTextWindow(WindowHandle window) {
    TextBuffer buffer;
    const std::string title = ReadTitle(windows_, window, buffer);
    if (title.empty())
        return true;
    bool candidate = false;
    if (LocalePrefix(windows_, title, "AutoCAD ")) {
        const std::string className = ReadClass(windows_, window);
        candidate = IsAfxClassWith(className, ":b:") && LocaleContains(windows_, title, "テキスト ウィンドウ");
    } else {
        // A whole-title test: the literal and its terminating zero against the same 20 bytes of the
        // buffer, so a title with anything after the words fails.
        static const char kCommandWindow[] = "コマンド ウィンドウ";
        constexpr int n = sizeof(kCommandWindow);
        static_assert(n <= kTextBufferSize, "literal fits the title buffer");
        candidate = windows_.CompareStringA(buffer.data(), n, kCommandWindow, n) == platform::kCstrEqual;
    }
    if (!candidate)
        return true;
    if (windows_.GetWindowThreadProcessId(window) != kept_.MainProcessId)
        return true;
    kept_.TextWindow = window;
    return false;
}

bool WindowDiscovery::MatchCommandLinePalette(WindowHandle window) {
    TextBuffer buffer;
    const std::string title = ReadTitle(windows_, window, buffer);
    if (title.empty())
        return true;
    const std::string className = ReadClass(windows_, window);
    if (!LocaleContains(windows_, title, "コマンド ライン") || !IsAfxClassWith(className, ":8:"))
        return true;
    // With two CAD programs on the desktop, the palette of the one typed into is the one to read.
    if (windows_.GetWindowThreadProcessId(window) == kept_.MainProcessId) {
        kept_.Palette = window;
        return false;
    }
    if (otherPalette_ == 0)
        otherPalette_ = window;
    return true;
}

bool WindowDiscovery::MatchCommandLineChild(WindowHandle window) {
    TextBuffer buffer;
    const std::string title = ReadTitle(windows_, window, buffer);
    if (title.empty())
        return true;
    if (title == "Headlands" || title == "input")
        kept_.PromptWindow = window;
    else if (title == "MountTam" || title == "output")
        kept_.HistoryPane = window;
    return !(IsLive(kept_.PromptWindow) && IsLive(kept_.HistoryPane));
}

}  // namespace cadlink
