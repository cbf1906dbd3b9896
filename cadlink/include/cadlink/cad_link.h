#pragma once
// Types command texts into the CAD program's command line and reads it back: the prompt, the
// command history (through the clipboard) and the values of system variables.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cadlink/text_lines.h"
#include "cadlink/window_discovery.h"
#include "platform/command_line_system.h"

namespace cadlink {

// Room for one command text in a record: 255 characters and the terminator.
constexpr std::size_t kCommandBufferUnits = 256;
// WM_COMMAND identifier that has the text window copy the whole history to the clipboard.
constexpr std::uintptr_t kCopyHistoryCommand = 32781;
// A window text shorter than this (in bytes or UTF-16 units, terminator included) is read with one
// message.
constexpr std::size_t kTextReadUnits = 1024;

// The value a prompt shows between angle brackets when it asks about the named variable; empty
// for any other prompt.
std::u16string ValueShownFor(const std::u16string& prompt, const std::u16string& name);

// What a record may leave the CAD program doing once it has answered. A brief record only
// cancels, or asks or sets a system variable: the CAD program is idle again at once, so the next
// message goes without asking it for a sign of life first. Any other record may start work that
// lasts (a boundary traced, a report written). A CAD program that runs its input after the send
// may still hold earlier records: only a record typed after a look at the prompt, or after other
// brief ones, is brief; a lasting record is always followed by a look that asks first.
enum class RecordWork { MayLast, Brief };

// The end of the history (LineTail) in UTF-16.
struct WideLineTail {
    bool anyLine = false;
    std::vector<std::u16string> lines;
    bool moreAbove = false;
};

class CadLink {
public:
    CadLink(platform::WindowSystem& windows, platform::CommandLineSystem& system, platform::Clipboard& clipboard)
        : discovery_(windows), system_(system), clipboard_(clipboard) {}

    WindowDiscovery& Discovery() { return discovery_; }

    // Typing. Each returns false, and sends nothing, without a live main frame, while the CAD
    // program does not answer, or for a text that does not fit one record (more than 255 UTF-16
    // code units, or 255 bytes in the ANSI form). True once the record is handed over: a CAD
    // program busy inside its handling takes it when it is free, and it is never typed again.
    bool SendCommand(const std::u16string& text, RecordWork work = RecordWork::MayLast);
    bool SendCommandAs(const std::u16string& text, bool unicode, RecordWork work = RecordWork::MayLast);
    bool SendCopyDataWide(const std::u16string& text);
    bool SendCopyDataAnsi(const std::u16string& text);
    // Whether SendCommand would take the text whole: it fits one record in the form the kept main
    // frame expects (in both forms without a live one).
    bool FitsRecord(const std::u16string& text);
    // The start of a run: brings forward the CAD frame the user was last in (the highest in the Z
    // order), which the run then holds (WindowDiscovery::ChooseTopMainFrame). Also starts trusting
    // the CAD program again after it stopped answering.
    bool ActivateCad();
    bool IsCadUnicode();

    // A CAD program that did not answer a send in time is busy, not gone: the link types and reads
    // nothing until it answers again, which this asks without waiting.
    bool Answering();
    // Counts every send that went unanswered and every clipboard exchange put off: a caller whose
    // step saw this change takes the step up again later.
    unsigned PutOff() const { return putOff_; }
    // What is left of an exchange cut short: the user's clipboard content goes back once the
    // clipboard is free, within a few seconds. Called at every wake-up of a run, and after it.
    // True once, when the exchange that was cut short is over: its history is lost for good.
    bool TakeUpPending();
    bool ClipboardPending() const { return pendingPutBack_ != nullptr; }
    // The read that was cut short belonged to a run that has ended: the next run is not to end for
    // it. The user's content still goes back.
    void ForgetCutShort() { cutShort_ = false; }

    // Reading. Empty text when the window is not there. A Unicode window's text is read in UTF-16;
    // an ANSI window's text and the history are code page bytes, which become UTF-16 here, the
    // history only in the lines used.
    std::u16string ReadWindowText(WindowHandle window);
    std::u16string ReadPrompt();
    // Raises the silent abort when the clipboard exchange fails. What the clipboard held before
    // is put back afterwards.
    std::u16string ReadHistory();
    std::u16string LastHistoryLine();
    std::u16string QuerySysVarAs(const std::u16string& name, bool unicode);
    std::u16string QuerySysVar(const std::u16string& name);
    // A query in two halves, for a caller that types the record itself: the record that asks,
    // and the value read back once it is typed.
    std::u16string QueryRecord(const std::u16string& name);
    std::u16string QueriedValue(const std::u16string& name);
    // A value read from the prompt whose Ctrl+C the CAD program did not take (it stopped answering
    // right after the read): the Ctrl+C is owed before the next record. True once it went out.
    bool PromptLeaveOwed() const { return promptLeaveOwed_; }
    bool LeaveValuePrompt();

private:
    // The text through send (WM_GETTEXT and WM_GETTEXTLENGTH in the form whose unit is Unit); nothing
    // when the window did not answer or holds no text.
    template <typename Unit, typename SendText>
    std::optional<std::basic_string<Unit>> ReadTextIn(WindowHandle window, const SendText& send);
    // The last non-empty history line and up to count - 1 lines above it, without the rest.
    WideLineTail ReadHistoryTail(std::size_t count);
    // False, after a try or two within a few milliseconds, while another program holds it.
    bool OpenClipboardBriefly();
    // The clipboard exchange; look sees the history text in place, up to its first zero byte, and
    // is not called without a text window or a copy.
    void ExchangeHistory(const std::function<void(std::string_view)>& look);
    // Puts the user's content back now, or keeps it to put back at a later wake-up.
    void PutBackWhenFree(std::unique_ptr<platform::SavedClipboard> saved);
    void KeepForPutBack(std::unique_ptr<platform::SavedClipboard> saved);
    std::u16string QueriedValueAs(const std::u16string& name, bool unicode);
    // Builds the record in the form asked for and sends it to the kept main frame, unchecked.
    bool SendRecord(const std::u16string& text, bool unicode, RecordWork work = RecordWork::MayLast);
    bool Send(const platform::CopyDataRecord& record, RecordWork work);
    // Marks the CAD program as not answering when a send to a window that still exists got no answer.
    void NoteAnswer(WindowHandle window, bool answered);

    WindowDiscovery discovery_;
    platform::CommandLineSystem& system_;
    platform::Clipboard& clipboard_;
    WindowHandle busyWindow_ = 0;  // the window that last did not answer, until it does
    struct {
        WindowHandle window = 0;
        bool unicode = false;
    } textForm_;  // of the window whose text was read last
    unsigned putOff_ = 0;
    std::uint64_t clipboardHeldSince_ = 0;  // 0: not held
    std::unique_ptr<platform::SavedClipboard> pendingPutBack_;
    bool cutShort_ = false;
    bool promptLeaveOwed_ = false;
    std::uint64_t pendingPutBackSince_ = 0;
};

}  // namespace cadlink
