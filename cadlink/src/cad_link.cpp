#include "cadlink/cad_link.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <vector>

#include "cadlink/text_lines.h"
#include "platform/abort.h"
#include "platform/retry.h"
#include "platform/text_trim.h"

namespace cadlink {
namespace {

constexpr std::size_t kMaxCommandUnits = kCommandBufferUnits - 1;
// When the clipboard stays busy after the CAD program copied its history, the user's content is
// still put back as soon as it is free, for this long at most.
constexpr std::uint64_t kPutBackLimitMs = 3000;
// A clipboard held by another program is tried again at the run's wake-ups for this long; a hold
// that lasts is not waited out (the run stops without a word).
constexpr std::uint64_t kClipboardHoldLimitMs = 250;
// Tries within one call stay inside the window thread's budget for a wait.
constexpr platform::RetryPolicy kOpenRetry{platform::CommandLineSystem::kAnswerTimeoutMs - 10, 10};

const char16_t kReadOnlyMark[] = u"(読み込み専用)";

// The value between the last opening and the last closing delimiter, trimmed; empty when the
// opening one is missing or does not come before the closing one.
std::u16string Between(const std::u16string& text, char16_t open, char16_t close) {
    const std::size_t first = text.rfind(open);
    const std::size_t last = text.rfind(close);
    if (first == std::u16string::npos || last == std::u16string::npos || first >= last)
        return std::u16string();
    return std::u16string(platform::Trim(std::u16string_view(text).substr(first + 1, last - first - 1)));
}

char16_t UpperAscii(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

std::u16string UpperAscii(std::u16string text) {
    for (char16_t& c : text)
        c = UpperAscii(c);
    return text;
}

bool IsBareVariable(const std::u16string& name) {
    return UpperAscii(name) == u"ACADVER";
}

bool IsNameChar(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_';
}

// Whether the text before the line's last "=" ends with the variable's name as a whole word
// (ASCII letters in either case).
bool NamesVariable(const std::u16string& line, const std::u16string& name) {
    const std::size_t equals = line.rfind(u'=');
    if (equals == std::u16string::npos || name.empty())
        return false;
    const std::u16string_view left = platform::Trim(std::u16string_view(line).substr(0, equals));
    if (left.size() < name.size())
        return false;
    const std::size_t start = left.size() - name.size();
    if (start > 0 && IsNameChar(left[start - 1]))
        return false;
    return UpperAscii(std::u16string(left.substr(start))) == UpperAscii(name);
}

// The value of a history line. A host that takes typed input only after the send has returned
// may still show the answer to an earlier request there, so the line must name the variable.
std::u16string HistoryValue(const std::u16string& line, const std::u16string& name) {
    return NamesVariable(line, name) ? Between(line, u'=', u'(') : std::u16string();
}

}  // namespace

std::u16string ValueShownFor(const std::u16string& prompt, const std::u16string& name) {
    const std::u16string upperName = UpperAscii(name);
    if (upperName.empty() || UpperAscii(prompt).find(upperName) == std::u16string::npos)
        return std::u16string();
    return Between(prompt, u'<', u'>');
}

// One liveness test per command: every test of another program's window is a trip to the window
// system's server, and on a busy machine each such trip may cost milliseconds.
bool CadLink::SendCommand(const std::u16string& text, RecordWork work) {
    if (!Answering() || !discovery_.IsCadReady())
        return false;
    const WindowHandle frame = discovery_.Kept().MainFrame;
    return SendRecord(text, system_.IsWindowUnicode(frame), work);
}

bool CadLink::SendCommandAs(const std::u16string& text, bool unicode, RecordWork work) {
    if (!Answering() || !discovery_.IsCadReady())
        return false;
    return SendRecord(text, unicode, work);
}

bool CadLink::Answering() {
    if (!busyWindow_)
        return true;
    // A window closed meanwhile is not busy: what looks for it next finds it gone.
    if (system_.AnswersNow(busyWindow_) || !discovery_.IsLive(busyWindow_))
        busyWindow_ = 0;
    return !busyWindow_;
}

void CadLink::NoteAnswer(WindowHandle window, bool answered) {
    if (!answered && discovery_.IsLive(window)) {
        busyWindow_ = window;
        ++putOff_;
    }
}

bool CadLink::Send(const platform::CopyDataRecord& record, RecordWork work) {
    const WindowHandle frame = discovery_.Kept().MainFrame;
    const platform::CommandLineSystem::Delivery delivery = system_.SendCopyData(frame, record);
    const bool answered = delivery == platform::CommandLineSystem::Delivery::Answered;
    NoteAnswer(frame, answered);
    if (answered && work == RecordWork::Brief)
        system_.AnsweredIdle(frame);
    system_.PostMessageA(frame, platform::kWmNull, 0, 0);
    // A record the CAD program took while busy is its own: it is never typed again.
    return delivery != platform::CommandLineSystem::Delivery::NotSent;
}

bool CadLink::SendCopyDataWide(const std::u16string& text) {
    return discovery_.IsLive(discovery_.Kept().MainFrame) && SendRecord(text, true);
}

bool CadLink::SendCopyDataAnsi(const std::u16string& text) {
    return discovery_.IsLive(discovery_.FindMainFrame()) && SendRecord(text, false);
}

bool CadLink::FitsRecord(const std::u16string& text) {
    const WindowHandle frame = discovery_.Kept().MainFrame;
    const bool fitsWide = text.size() <= kMaxCommandUnits;
    const bool fitsAnsi = system_.WideToAnsi(text).size() <= kMaxCommandUnits;
    // A frame gone since the run chose it is no fault of the text: it must fit either form, and
    // the send itself then finds no CAD program.
    if (!discovery_.IsLive(frame))
        return fitsWide && fitsAnsi;
    return system_.IsWindowUnicode(frame) ? fitsWide : fitsAnsi;
}

bool CadLink::SendRecord(const std::u16string& text, bool unicode, RecordWork work) {
    if (!unicode) {
        const std::string ansi = system_.WideToAnsi(text);
        if (ansi.size() > kMaxCommandUnits)
            return false;
        std::array<char, kCommandBufferUnits> buffer{};
        std::copy(ansi.begin(), ansi.end(), buffer.begin());
        const auto cbData = static_cast<std::uint32_t>(std::strlen(buffer.data()) + 1);
        return Send({1, cbData, buffer.data()}, work);
    }
    if (text.size() > kMaxCommandUnits)
        return false;
    // A Unicode frame takes the text as it is: a path outside the code page names the user's own folder.
    std::array<char16_t, kCommandBufferUnits> buffer{};
    std::copy(text.begin(), text.end(), buffer.begin());
    const auto cbData = static_cast<std::uint32_t>(2 * (text.size() + 1));
    return Send({1, cbData, buffer.data()}, work);
}

bool CadLink::ActivateCad() {
    const WindowHandle frame = discovery_.ChooseTopMainFrame();
    if (!discovery_.IsLive(frame))
        return false;
    system_.SetForegroundWindow(frame);
    return true;
}

bool CadLink::IsCadUnicode() {
    const WindowHandle frame = discovery_.FindMainFrame();
    return discovery_.IsLive(frame) && system_.IsWindowUnicode(frame);
}

std::u16string CadLink::ReadWindowText(WindowHandle window) {
    // A Unicode window's text comes whole only in the W form; an ANSI window's is code page bytes,
    // which the system hands over in this program's code page. A window keeps the form it was made
    // in, so a prompt read steadily asks it once.
    if (window != textForm_.window)
        textForm_ = {window, system_.IsWindowUnicode(window)};
    if (textForm_.unicode) {
        const auto sendW = [this](WindowHandle to, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
            return system_.SendMessageW(to, message, wParam, lParam);
        };
        return ReadTextIn<char16_t>(window, sendW).value_or(std::u16string());
    }
    const auto sendA = [this](WindowHandle to, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
        return system_.SendMessageA(to, message, wParam, lParam);
    };
    const std::optional<std::string> bytes = ReadTextIn<char>(window, sendA);
    return bytes ? system_.AnsiToWide(*bytes) : std::u16string();
}

template <typename Unit, typename SendText>
std::optional<std::basic_string<Unit>> CadLink::ReadTextIn(WindowHandle window, const SendText& send) {
    // Asked straight for the text, a prompt costs one message to the CAD program, whose every
    // answer may keep a busy host waiting; only a text that may not have fitted is measured first.
    std::array<Unit, kTextReadUnits> fitted{};
    const bool fittedAnswered =
        send(window, platform::kWmGetText, fitted.size(), reinterpret_cast<std::intptr_t>(fitted.data())).has_value();
    NoteAnswer(window, fittedAnswered);
    if (!fittedAnswered)
        return std::nullopt;
    fitted.back() = Unit();
    const std::size_t fittedLength = std::char_traits<Unit>::length(fitted.data());
    // A double-byte character that did not fit whole may leave one byte more unused.
    constexpr std::size_t kUnusedAtMost = sizeof(Unit) == 1 ? 2 : 1;
    if (fittedLength + kUnusedAtMost < fitted.size())
        return std::basic_string<Unit>(fitted.data(), fittedLength);

    const std::optional<std::intptr_t> length = send(window, platform::kWmGetTextLength, 0, 0);
    NoteAnswer(window, length.has_value());
    if (!length || *length <= 0)
        return std::nullopt;
    // A length asked in the A form may count a double-byte character as one: room for two bytes each.
    const std::size_t units = (static_cast<std::size_t>(*length) + 1) * (sizeof(Unit) == 1 ? 2 : 1);
    std::vector<Unit> buffer(units, Unit());
    const bool answered =
        send(window, platform::kWmGetText, buffer.size(), reinterpret_cast<std::intptr_t>(buffer.data())).has_value();
    NoteAnswer(window, answered);
    if (!answered)
        return std::nullopt;
    buffer.back() = Unit();  // whatever the window wrote, the text ends inside the buffer
    return std::basic_string<Unit>(buffer.data());
}

std::u16string CadLink::ReadPrompt() {
    if (!Answering())
        return std::u16string();
    const WindowHandle prompt = discovery_.FindPromptWindow();
    return prompt ? ReadWindowText(prompt) : std::u16string();
}

bool CadLink::OpenClipboardBriefly() {
    return platform::RetryUntilDeadline(system_, kOpenRetry, [this] { return clipboard_.OpenClipboard(); });
}

void CadLink::PutBackWhenFree(std::unique_ptr<platform::SavedClipboard> saved) {
    if (!OpenClipboardBriefly()) {
        KeepForPutBack(std::move(saved));
        return;
    }
    pendingPutBack_.reset();
    clipboard_.PutBack(*saved);
    clipboard_.CloseClipboard();
}

void CadLink::KeepForPutBack(std::unique_ptr<platform::SavedClipboard> saved) {
    if (!pendingPutBack_)
        pendingPutBackSince_ = system_.GetTickCount64();
    pendingPutBack_ = std::move(saved);
}

bool CadLink::TakeUpPending() {
    if (pendingPutBack_) {
        if (system_.GetTickCount64() - pendingPutBackSince_ >= kPutBackLimitMs)
            pendingPutBack_.reset();
        else
            PutBackWhenFree(std::move(pendingPutBack_));
    }
    const bool over = cutShort_ && !pendingPutBack_;
    if (over)
        cutShort_ = false;
    return over;
}

void CadLink::ExchangeHistory(const std::function<void(std::string_view)>& look) {
    if (TakeUpPending())
        platform::Abort();
    if (!Answering())
        return;
    if (pendingPutBack_) {
        ++putOff_;  // the user's content goes back before the clipboard is used again
        return;
    }
    const WindowHandle textWindow = discovery_.FindTextWindow();
    if (!discovery_.IsLive(textWindow))
        return;

    // The CAD program that copied its history last owns the clipboard: when it is busy, the
    // exchange waits for it like any other step, and only another owner that does not answer
    // stops the run.
    if (!system_.AnswersInTime(textWindow)) {
        NoteAnswer(textWindow, false);
        return;
    }
    // Keep what the user had on the clipboard, so that it can be put back after the exchange. Its
    // owner may have to render it: one that does not answer would hang the tool, so the exchange
    // stops before the clipboard is touched.
    if (!clipboard_.OwnerAnswers())
        platform::Abort();
    // A clipboard another program holds is tried again at a later wake-up, for a short while.
    if (!OpenClipboardBriefly()) {
        const std::uint64_t now = system_.GetTickCount64();
        if (clipboardHeldSince_ == 0)
            clipboardHeldSince_ = now == 0 ? 1 : now;
        else if (now - clipboardHeldSince_ >= kClipboardHoldLimitMs)
            platform::Abort();
        ++putOff_;
        return;
    }
    clipboardHeldSince_ = 0;
    // Held for this exchange only: its memory goes back when it ends.
    std::unique_ptr<platform::SavedClipboard> saved = clipboard_.Save();
    // An empty clipboard is left alone: emptying it again is one more change that every
    // clipboard viewer on the desktop is told of, and the history read waits for.
    const bool emptied = !saved->heldAny || clipboard_.EmptyClipboard();
    clipboard_.CloseClipboard();
    if (!emptied)
        platform::Abort();

    const bool copied = system_.SendMessageA(textWindow, platform::kWmCommand, kCopyHistoryCommand, 0).has_value();
    NoteAnswer(textWindow, copied);
    if (copied)
        system_.AnsweredIdle(textWindow);  // the copy is done inside the message

    if (!OpenClipboardBriefly()) {
        // Another program (a clipboard monitor) holds it now: the history is lost, the user's
        // content is not. It goes back at a later wake-up (TakeUpPending), and then the read
        // ends in the silent abort: the run that wanted it ends once the clipboard is the user's.
        KeepForPutBack(std::move(saved));
        cutShort_ = true;
        ++putOff_;
        return;
    }
    // Whatever look does, the clipboard gets the user's content back and is closed.
    struct Restore {
        platform::Clipboard& clipboard;
        const platform::SavedClipboard& saved;
        ~Restore() {
            clipboard.PutBack(saved);
            clipboard.CloseClipboard();
        }
    } restore{clipboard_, *saved};
    // The history is looked at in place: copying or splitting all of it would make every read
    // cost more as the CAD program's history grows.
    if (copied) {
        clipboard_.ViewClipboardData(platform::kCfText,
                                     [&look](std::string_view bytes) { look(UpToFirstZero(bytes)); });
    }
}

std::u16string CadLink::ReadHistory() {
    std::u16string history;
    ExchangeHistory([this, &history](std::string_view text) { history = system_.AnsiToWide(std::string(text)); });
    return history;
}

// The lines are found in the clipboard's bytes where they lie; only those kept are converted.
WideLineTail CadLink::ReadHistoryTail(std::size_t count) {
    LineTail tail;
    ExchangeHistory([&tail, count](std::string_view text) { tail = LastLines(text, count); });
    WideLineTail wide{tail.anyLine, {}, tail.moreAbove};
    for (const std::string& line : tail.lines)
        wide.lines.push_back(system_.AnsiToWide(line));
    return wide;
}

std::u16string CadLink::LastHistoryLine() {
    const WideLineTail tail = ReadHistoryTail(1);
    return tail.lines.empty() ? std::u16string() : tail.lines.back();
}

std::u16string CadLink::QueryRecord(const std::u16string& name) {
    return IsBareVariable(name) ? name + u"\r" : u"'SETVAR " + name + u"\r";
}

std::u16string CadLink::QuerySysVarAs(const std::u16string& name, bool unicode) {
    if (!Answering() || !discovery_.IsCadReady())
        return std::u16string();
    SendCommandAs(QueryRecord(name), unicode, RecordWork::Brief);
    return QueriedValueAs(name, unicode);
}

std::u16string CadLink::QueriedValue(const std::u16string& name) {
    const WindowHandle frame = discovery_.Kept().MainFrame;
    return QueriedValueAs(name, discovery_.IsLive(frame) && system_.IsWindowUnicode(frame));
}

std::u16string CadLink::QueriedValueAs(const std::u16string& name, bool unicode) {
    if (!Answering() || !discovery_.IsCadReady())
        return std::u16string();
    // A host that takes input late may still show the prompt of an earlier query: only a prompt
    // about this variable gives its value.
    std::u16string working = ReadPrompt();
    std::u16string value = ValueShownFor(working, name);
    if (!value.empty()) {
        // Leave the prompt that shows the value; a CAD program that stopped answering is left
        // once it answers again, before anything else is typed.
        promptLeaveOwed_ = !SendCommandAs(u"\x03", unicode, RecordWork::Brief);
        return value;
    }

    // Only the last non-empty line and the two above it are ever looked at.
    const WideLineTail tail = ReadHistoryTail(3);
    if (tail.anyLine)
        working = tail.lines.empty() ? std::u16string() : tail.lines.back();
    value = HistoryValue(working, name);
    // Three lines up to the last non-empty one: its index is 2 or more; with more above, 3 or more.
    const bool twoAbove = tail.lines.size() == 3;
    // A read-only variable may have its value on the lines above the mark.
    if (value.empty() && twoAbove && tail.moreAbove && working.find(kReadOnlyMark) != std::u16string::npos) {
        working = tail.lines[0] + tail.lines[1] + working;
        value = HistoryValue(working, name);
    }
    if (value.empty() && twoAbove && tail.lines[1].find(kReadOnlyMark) != std::u16string::npos) {
        working = tail.lines[1];
        value = HistoryValue(working, name);
    }
    return value;
}

bool CadLink::LeaveValuePrompt() {
    if (SendCommand(u"\x03", RecordWork::Brief))
        promptLeaveOwed_ = false;
    return !promptLeaveOwed_;
}

std::u16string CadLink::QuerySysVar(const std::u16string& name) {
    const WindowHandle frame = discovery_.Kept().MainFrame;
    return QuerySysVarAs(name, discovery_.IsLive(frame) && system_.IsWindowUnicode(frame));
}

}  // namespace cadlink
