// Any prompt and any history text against the system-variable query and the last-line reader: the
// value is trimmed text the CAD program showed, Ctrl+C follows the request only for a value taken
// from the prompt, and the user's clipboard is back as it was, closed.
//
// Input: one byte of choices (variable name, Unicode frame), the prompt up to the first zero byte,
// then the history exactly as the text window would put it on the clipboard.

#include <cstddef>
#include <cstdint>
#include <string>

#include "cadlink/cad_link.h"
#include "cadlink/text_lines.h"
#include "fuzz_check.h"
#include "platform/abort.h"
#include "simulated_desktop.h"

namespace {

using fuzzcheck::Require;
using platform::WindowHandle;

const char kAfxFrame[] = "Afx:0000000140000000:8:0000000000010003:0000000000000000:0000000000110597";
const char kAfxText[] = "Afx:0000000140000000:b:0000000000010003:0000000000000006:0000000000000000";
const char16_t* const kNames[] = {u"LASTPOINT", u"ACADVER", u"acadVer", u"FILEDIA"};
const char kUsersText[] = "the user's own clipboard text";

std::string WithoutBreaks(const std::string& text) {
    std::string joined;
    for (char c : text)
        if (c != '\r' && c != '\n')
            joined += c;
    return joined;
}

// The history as the link reads it: each line converted on its own (a lead byte at a line's end
// takes no byte of the next), the lines joined without their breaks.
std::u16string LinesWithoutBreaks(platform::CommandLineSystem& system, const std::string& text) {
    std::u16string joined;
    std::string line;
    for (char c : text + '\n') {
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        joined += system.AnsiToWide(line);
        line.clear();
    }
    return joined;
}

struct Cad {
    platform::sim::SimulatedDesktop desktop;
    cadlink::CadLink link{desktop, desktop, desktop};
    std::string prompt;
    std::string history;

    WindowHandle frame = 0;

    Cad() {
        const WindowHandle text = desktop.AddTopLevel("AutoCAD テキスト ウィンドウ - Drawing1.dwg", kAfxText, 7);
        frame = desktop.AddTopLevel("AutoCAD 2024 - [Drawing1.dwg]", kAfxFrame, 7);
        const WindowHandle dock = desktop.AddChild(frame, "", "Dock");
        desktop.AddChild(dock, "MountTam", "History");
        const WindowHandle promptWindow = desktop.AddChild(dock, "Headlands", "Prompt");
        desktop.SetTextSource(promptWindow, [this] { return prompt; });
        desktop.SetCommandHandler(text, [this](std::uintptr_t id) {
            if (id != cadlink::kCopyHistoryCommand || !desktop.OpenClipboard())
                return;
            desktop.EmptyClipboard();
            desktop.SetClipboardData(platform::kCfText, history);
            desktop.CloseClipboard();
        });
        link.ActivateCad();
    }

    // The one desktop serves every input (building it is most of an execution's cost); each input
    // starts from the user's clipboard and an empty message record.
    void Reset(std::string promptText, std::string historyText, bool unicode) {
        prompt = std::move(promptText);
        history = std::move(historyText);
        desktop.SetUnicode(frame, unicode);
        desktop.ClearClipboardFromOutside();
        desktop.PutOnClipboard(platform::kCfText, std::string(kUsersText) + '\0');
        desktop.PutOnClipboard(13, std::string("u\0s\0e\0r\0\0\0", 10));  // CF_UNICODETEXT
        desktop.ClearMessages();
    }

    int CopyDataRecords() const {
        int records = 0;
        for (const auto& m : desktop.Messages())
            records += m.message == platform::kWmCopyData;
        return records;
    }

    void RequireClipboardBack() const {
        Require(!desktop.ClipboardOpen(), "the clipboard is closed after a history read");
        Require(desktop.ClipboardData(platform::kCfText) == std::string(kUsersText) + '\0',
                "the user's text is back on the clipboard");
        Require(desktop.ClipboardHas(13), "the user's other formats are back on the clipboard");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::u16string name = kNames[data[0] & 3];
    const bool unicode = (data[0] & 4) != 0;
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t zero = rest.find('\0');
    const std::string prompt = rest.substr(0, zero);
    const std::string history = zero == std::string::npos ? std::string() : rest.substr(zero + 1);
    const std::string historyText = history.c_str();  // the clipboard's text ends at its first zero

    static Cad cad;
    {
        cad.Reset(prompt, history, unicode);
        const std::u16string value = cad.link.QuerySysVarAs(name, unicode);
        Require(fuzzcheck::IsTrimmed(value), "the value is trimmed");
        const bool fromPrompt = fuzzcheck::Contains(cad.desktop.AnsiToWide(prompt), value);
        Require(value.empty() || fromPrompt || fuzzcheck::Contains(LinesWithoutBreaks(cad.desktop, historyText), value),
                "the value stands in the prompt or the history");
        const int records = cad.CopyDataRecords();
        Require(records == 1 || records == 2, "one request, and at most one Ctrl+C after it");
        Require(records == 1 || (!value.empty() && fromPrompt), "Ctrl+C follows only a value from the prompt");
        if (records == 1)
            cad.RequireClipboardBack();
    }
    {
        cad.Reset(prompt, history, unicode);
        const std::u16string last = cad.link.LastHistoryLine();
        Require(last.find_first_of(u"\r\n") == std::u16string::npos, "the last line holds no line break");
        Require(last.empty() || fuzzcheck::Contains(cad.desktop.AnsiToWide(historyText), last),
                "the last line stands in the history");
        Require(last.empty() == (historyText.find_first_not_of("\r\n") == std::string::npos),
                "the last line is empty only for a history of line breaks");
        cad.RequireClipboardBack();

        // The lines and their breaks make up the whole text again.
        std::size_t bytes = 0;
        for (const std::string& line : cadlink::SplitLines(historyText))
            bytes += line.size();
        Require(bytes == WithoutBreaks(historyText).size(), "splitting keeps every byte that is not a break");
    }
    return 0;
}
