// The simulated desktop's messages, code page and clipboard.
#include <iconv.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <type_traits>

#include "platform/codepage.h"
#include "simulated_desktop.h"

namespace platform::sim {
namespace {

// Converts one code point or character at a time with glibc's CP932 tables, so that what the
// code page cannot express becomes its default character '?', as the Windows conversions do.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv cannot convert between CP932 and UTF-16LE");
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Convert(const char* input, std::size_t inputSize, std::string& output) {
        char buffer[16];
        char* in = const_cast<char*>(input);
        char* out = buffer;
        std::size_t inLeft = inputSize;
        std::size_t outLeft = sizeof buffer;
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(handle_, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
            return false;
        output.append(buffer, sizeof buffer - outLeft);
        return true;
    }

private:
    iconv_t handle_;
};

}  // namespace

void SimulatedDesktop::SetUnicode(WindowHandle window, bool unicode) {
    behaviours_[window].unicode = unicode;
}

void SimulatedDesktop::SetTextSource(WindowHandle window, std::function<std::string()> source) {
    behaviours_[window].textSource = std::move(source);
}

void SimulatedDesktop::SetCopyDataHandler(WindowHandle window, std::function<void(const ReceivedMessage&)> handler) {
    behaviours_[window].copyDataHandler = std::move(handler);
}

void SimulatedDesktop::SetCommandHandler(WindowHandle window, std::function<void(std::uintptr_t)> handler) {
    behaviours_[window].commandHandler = std::move(handler);
}

bool SimulatedDesktop::IsWindowUnicode(WindowHandle window) {
    ++calls_.isWindowUnicode;
    if (!Find(window))
        return false;
    auto it = behaviours_.find(window);
    return it == behaviours_.end() || it->second.unicode;
}

bool SimulatedDesktop::SetForegroundWindow(WindowHandle window) {
    if (foregroundRefused_ || !Find(window))
        return false;
    foreground_ = window;
    return true;
}

CommandLineSystem::Delivery SimulatedDesktop::SendCopyData(WindowHandle window, const CopyDataRecord& record) {
    ++calls_.sendMessage;
    const Window* w = Find(window);
    if (!w)
        return Delivery::NotSent;
    const std::uint32_t process = w->processId;
    if (frozenProcess_ != 0 && process == frozenProcess_)
        return Delivery::NotSent;
    ReceivedMessage received{window, 0x004A, false, 0, 0, 0, 0, {}};
    received.dwData = record.dwData;
    received.cbData = record.cbData;
    received.payload.assign(static_cast<const char*>(record.lpData), record.cbData);
    messages_.push_back(received);
    auto it = behaviours_.find(window);
    if (it != behaviours_.end() && it->second.copyDataHandler)
        it->second.copyDataHandler(received);
    // A process that froze inside its handling took the record but gives no answer in time.
    if (frozenProcess_ == 0 || process != frozenProcess_)
        return Delivery::Answered;
    unanswered_.push_back(messages_.size() - 1);
    return Delivery::Taken;
}

bool SimulatedDesktop::AnswersNow(WindowHandle window) {
    const Window* w = Find(window);
    return w && (frozenProcess_ == 0 || w->processId != frozenProcess_);
}

bool SimulatedDesktop::TakeSent(WindowHandle window,
                                unsigned message,
                                std::uintptr_t wParam,
                                std::intptr_t lParam,
                                const Behaviour*& behaviour) {
    ++calls_.sendMessage;
    const Window* w = Find(window);
    if (!w || (frozenProcess_ != 0 && w->processId == frozenProcess_))
        return false;
    messages_.push_back(ReceivedMessage{window, message, false, wParam, lParam, 0, 0, {}});
    auto it = behaviours_.find(window);
    behaviour = it == behaviours_.end() ? nullptr : &it->second;
    return true;
}

template <typename Unit>
std::intptr_t SimulatedDesktop::AnswerSent(WindowHandle window,
                                           unsigned message,
                                           std::uintptr_t wParam,
                                           std::intptr_t lParam,
                                           const Behaviour* behaviour) {
    const auto text = [&]() -> std::basic_string<Unit> {
        const Window& w = *Find(window);
        if constexpr (std::is_same_v<Unit, char16_t>) {
            if (!behaviour || !behaviour->textSource)
                return w.wideTitle.empty() ? AnsiToWide(w.title) : w.wideTitle;
            return AnsiToWide(behaviour->textSource());
        } else {
            return behaviour && behaviour->textSource ? behaviour->textSource() : w.title;
        }
    };
    switch (message) {
        case kWmGetTextLength:
            return static_cast<std::intptr_t>(text().size());
        case kWmGetText: {
            if (wParam == 0)
                return 0;
            const std::basic_string<Unit> shown = text();
            const std::size_t n = std::min<std::size_t>(shown.size(), wParam - 1);
            Unit* buffer = reinterpret_cast<Unit*>(lParam);
            std::copy_n(shown.begin(), n, buffer);
            buffer[n] = Unit();
            return static_cast<std::intptr_t>(n);
        }
        case kWmCommand:
            if (behaviour && behaviour->commandHandler)
                behaviour->commandHandler(wParam);
            return 0;
        default:
            return 0;
    }
}

std::optional<std::intptr_t> SimulatedDesktop::SendMessageA(WindowHandle window,
                                                            unsigned message,
                                                            std::uintptr_t wParam,
                                                            std::intptr_t lParam) {
    const Behaviour* behaviour = nullptr;
    if (!TakeSent(window, message, wParam, lParam, behaviour))
        return std::nullopt;
    return AnswerSent<char>(window, message, wParam, lParam, behaviour);
}

std::optional<std::intptr_t> SimulatedDesktop::SendMessageW(WindowHandle window,
                                                            unsigned message,
                                                            std::uintptr_t wParam,
                                                            std::intptr_t lParam) {
    const Behaviour* behaviour = nullptr;
    if (!TakeSent(window, message, wParam, lParam, behaviour))
        return std::nullopt;
    return AnswerSent<char16_t>(window, message, wParam, lParam, behaviour);
}

bool SimulatedDesktop::PostMessageA(WindowHandle window,
                                    unsigned message,
                                    std::uintptr_t wParam,
                                    std::intptr_t lParam) {
    ++calls_.postMessage;
    if (!Find(window))
        return false;
    messages_.push_back(ReceivedMessage{window, message, true, wParam, lParam, 0, 0, {}});
    return true;
}

std::string SimulatedDesktop::WideToAnsi(const std::u16string& text) {
    Converter converter("CP932", "UTF-16LE");
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t units = 1;
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            units = 2;
        char bytes[4];
        for (std::size_t u = 0; u < units; ++u) {
            bytes[2 * u] = static_cast<char>(text[i + u] & 0xFF);
            bytes[2 * u + 1] = static_cast<char>(text[i + u] >> 8);
        }
        if (!converter.Convert(bytes, 2 * units, result))
            result += '?';
        i += units - 1;
    }
    return result;
}

std::u16string SimulatedDesktop::AnsiToWide(const std::string& text) {
    Converter converter("UTF-16LE", "CP932");
    std::u16string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool lead = IsCp932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
        std::string units;
        if (converter.Convert(text.data() + i, lead ? 2 : 1, units)) {
            for (std::size_t u = 0; u + 1 < units.size(); u += 2)
                result += static_cast<char16_t>(static_cast<unsigned char>(units[u]) |
                                                (static_cast<unsigned char>(units[u + 1]) << 8));
        } else {
            result += u'\x30FB';  // the code page's default Unicode character
        }
        if (lead)
            ++i;
    }
    return result;
}

bool SimulatedDesktop::OwnerAnswers() {
    if (clipboardOwnerHung_)
        slept_ += kOwnerTimeoutMs;
    return !clipboardOwnerHung_;
}

bool SimulatedDesktop::OpenClipboard() {
    if (clipboardOpen_ || clipboardHeldElsewhere_ || slept_ < clipboardHeldUntil_)
        return false;
    clipboardOpen_ = true;
    return true;
}

bool SimulatedDesktop::CloseClipboard() {
    const bool wasOpen = clipboardOpen_;
    clipboardOpen_ = false;
    return wasOpen;
}

bool SimulatedDesktop::EmptyClipboard() {
    ++calls_.emptyClipboard;
    if (!clipboardOpen_)
        return false;
    clipboard_.clear();
    clipboardOrder_.clear();
    return true;
}

std::vector<unsigned> SimulatedDesktop::Formats() {
    return clipboardOpen_ ? clipboardOrder_ : std::vector<unsigned>();
}

bool SimulatedDesktop::GetClipboardData(unsigned format, std::string& bytes) {
    auto it = clipboard_.find(format);
    if (!clipboardOpen_ || it == clipboard_.end())
        return false;
    bytes = it->second;
    return true;
}

bool SimulatedDesktop::ViewClipboardData(unsigned format, const std::function<void(std::string_view)>& look) {
    auto it = clipboard_.find(format);
    if (!clipboardOpen_ || it == clipboard_.end())
        return false;
    look(it->second);
    return true;
}

bool SimulatedDesktop::SetClipboardData(unsigned format, const std::string& bytes) {
    if (!clipboardOpen_)
        return false;
    PutOnClipboard(format, bytes);
    return true;
}

void SimulatedDesktop::PutOnClipboard(unsigned format, const std::string& bytes) {
    if (!clipboard_.count(format))
        clipboardOrder_.push_back(format);
    clipboard_[format] = bytes;
}

void SimulatedDesktop::ClearClipboardFromOutside() {
    clipboard_.clear();
    clipboardOrder_.clear();
}

std::string SimulatedDesktop::ClipboardData(unsigned format) const {
    auto it = clipboard_.find(format);
    return it == clipboard_.end() ? std::string() : it->second;
}

}  // namespace platform::sim
