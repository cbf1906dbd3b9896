// Any desktop of windows with any titles and class names, against the CAD window searches: what
// is found is what the rules describe (a main frame with a CAD title, a text window of the main
// frame's process, command-line children with their exact titles), a steady lookup searches
// nothing, and the search finds a new main frame once the old one is gone.
//
// Input: windows one after another, each a byte of choices (process, place in the tree), then its
// title and class name, each ended by a zero byte.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cadlink/text_match.h"
#include "cadlink/window_discovery.h"
#include "fuzz_check.h"
#include "simulated_desktop.h"

namespace {

using fuzzcheck::Require;
using platform::WindowHandle;

struct Known {
    WindowHandle window;
    std::string title;  // as the search sees it: at most 254 bytes
    std::uint32_t processId;
};

// The windows made, in the order made; handles grow, so they are found by a binary search
// (every input looks them up many times, and a map would cost an allocation per window).
class KnownWindows {
public:
    void Add(Known known) { known_.push_back(std::move(known)); }
    const Known& operator[](WindowHandle window) const {
        static const Known kNone{0, std::string(), 0};
        const auto at = std::lower_bound(known_.begin(), known_.end(), window,
                                         [](const Known& known, WindowHandle handle) { return known.window < handle; });
        return at != known_.end() && at->window == window ? *at : kNone;
    }
    bool Empty() const { return known_.empty(); }
    WindowHandle Last() const { return known_.back().window; }
    std::size_t Size() const { return known_.size(); }

private:
    std::vector<Known> known_;
};

std::string_view NextField(std::string_view input, std::size_t& at) {
    if (at >= input.size())
        return std::string_view();
    const std::size_t end = std::min(input.find('\0', at), input.size());
    const std::string_view field = input.substr(at, end - at);
    at = end + 1;
    return field;
}

bool HasCadTitle(const std::string& title) {
    return cadlink::BytePrefix(title, "AutoCAD ") || cadlink::BytePrefix(title, "Autodesk ") ||
           cadlink::BytePrefix(title, "ACAD") || cadlink::BytePrefix(title, "DraftSight");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    platform::sim::SimulatedDesktop desktop;
    KnownWindows known;
    WindowHandle lastTop = 0;
    for (std::size_t at = 0; at < input.size() && known.Size() < 64;) {
        const auto choices = static_cast<unsigned char>(input[at++]);
        const std::string title(NextField(input, at));
        const std::string className(NextField(input, at));
        const std::uint32_t processId = 1 + (choices & 3);
        WindowHandle window = 0;
        const unsigned place = (choices >> 2) & 3;
        if (place == 1 && lastTop)
            window = desktop.AddChild(lastTop, title, className);
        else if (place == 2 && !known.Empty())
            window = desktop.AddChild(known.Last(), title, className);
        else
            window = lastTop = desktop.AddTopLevel(title, className, processId);
        known.Add({window, title.substr(0, 254), desktop.GetWindowThreadProcessId(window)});
    }

    cadlink::WindowDiscovery discovery(desktop);
    const WindowHandle frame = discovery.FindMainFrame();
    Require(discovery.IsCadReady() == (frame != 0), "ready exactly when a main frame was found");
    if (frame) {
        Require(HasCadTitle(known[frame].title), "the main frame has a CAD title");
        Require(discovery.Kept().MainProcessId == known[frame].processId, "the main frame's process is kept with it");
    }
    const WindowHandle textWindow = discovery.FindTextWindow();
    if (textWindow)
        Require(known[textWindow].processId == discovery.Kept().MainProcessId,
                "the text window belongs to the main frame's process");

    const WindowHandle prompt = discovery.FindPromptWindow();
    const WindowHandle history = discovery.FindHistoryPane();
    Require(prompt == 0 || frame != 0, "no prompt window without a main frame");
    if (prompt)
        Require(known[prompt].title == "Headlands" || known[prompt].title == "input", "the prompt window's title");
    if (history)
        Require(known[history].title == "MountTam" || known[history].title == "output", "the history pane's title");
    // The command line is the CAD program's own, or in a palette (which may be another process's).
    const WindowHandle palette = discovery.Kept().Palette;
    const std::uint32_t paletteProcess = discovery.IsLive(palette) ? known[palette].processId : 0;
    for (WindowHandle found : {prompt, history, discovery.FindPromptWindow()})
        Require(!found || known[found].processId == discovery.Kept().MainProcessId ||
                    known[found].processId == paletteProcess,
                "the command line belongs to the CAD program or its palette");

    const WindowHandle steady = discovery.FindPromptWindow();
    if (steady) {
        desktop.ResetCalls();
        Require(discovery.FindPromptWindow() == steady, "a steady lookup gives the same prompt window");
        Require(desktop.Calls().enumWindows == 0 && desktop.Calls().enumChildWindows == 0,
                "a steady lookup searches nothing");
    }
    if (frame) {
        desktop.Destroy(frame);
        const WindowHandle next = discovery.FindMainFrame();
        Require(!discovery.IsLive(next) || (next != frame && HasCadTitle(known[next].title)),
                "after the main frame closes, a live result is another CAD window");
    }
    return 0;
}
