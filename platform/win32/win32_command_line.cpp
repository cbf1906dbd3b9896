#include "win32_command_line.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "clipboard_memory.h"
#include "platform/codepage.h"
#include "text_conversion.h"

namespace platform {
namespace {

HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

// Formats whose data is a GDI object or a handle the clipboard does not own as memory: they are
// not copied (a bitmap comes back through its device-independent form, which is memory).
bool IsHandleFormat(unsigned format) {
    switch (format) {
        case CF_BITMAP:
        case CF_METAFILEPICT:
        case CF_PALETTE:
        case CF_OWNERDISPLAY:
        case CF_DSPBITMAP:
        case CF_DSPMETAFILEPICT:
        case CF_DSPENHMETAFILE:
            return true;
        default:
            return (format >= CF_PRIVATEFIRST && format <= CF_PRIVATELAST) ||
                   (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST);
    }
}

// The last sign of life asked of each window that has not answered yet, and the newest answered.
// An answer that comes only after its wait gave up still counts: the window answers again.
std::map<HWND, ULONG_PTR> awaited;
std::map<HWND, ULONG_PTR> answered;
ULONG_PTR lastAsked = 0;

void CALLBACK NoteAnswer(HWND window, UINT, ULONG_PTR asked, LRESULT) {
    ULONG_PTR& newest = answered[window];
    newest = std::max(newest, asked);
}

// A thread that has just answered a message that starts no work in it (a read, a sign of life, a
// record its caller calls idle) handles the next one at once: asking it first for a sign of life
// would double the cost of every record after the user's pick. Only within this much of that
// answer; any other record may make it busy for long, so an answer to one does not count.
constexpr double kFreshAnswerMs = 1.0;
DWORD freshThread = 0;
double freshAt = 0;

double CounterMs() {
    static const double perMs = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / perMs;
}

// Asked each time: a closed window's handle may come back naming another program's window.
DWORD ThreadOf(HWND window) {
    return ::GetWindowThreadProcessId(window, nullptr);
}

void NoteFreshAnswer(HWND window, bool startsNoWork) {
    freshThread = startsNoWork ? ThreadOf(window) : 0;
    freshAt = CounterMs();
}

bool AnsweredJustNow(HWND window) {
    return freshThread != 0 && CounterMs() - freshAt < kFreshAnswerMs && ThreadOf(window) == freshThread;
}

// Handles sent messages and delivers answers; leaves every posted message where it is.
void TakeAnswers() {
    MSG message;
    ::PeekMessageA(&message, nullptr, WM_NULL, WM_NULL, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// Without waiting: false while a sign asked of the window earlier is still awaited.
bool NoSignAwaited(HWND window) {
    const auto it = awaited.find(window);
    if (it == awaited.end())
        return true;
    TakeAnswers();
    const auto seen = answered.find(window);
    if (seen == answered.end() || seen->second < it->second)
        return false;
    awaited.erase(it);
    return true;
}

// Whether the window's thread handles messages within the time-out. SendMessageTimeoutA alone does
// not do: under Wine a send to a frozen program of another process waits until it wakes. An
// asynchronous WM_NULL cannot block; its answer arrives while this thread looks at its queue.
// Asked before every send: a program can freeze between two sends of one step. A window whose
// last sign is still awaited is not waited for again: the caller comes back at a later wake-up.
bool ShowsLifeInTime(HWND window, DWORD timeoutMs = CommandLineSystem::kAnswerTimeoutMs) {
    if (!NoSignAwaited(window))
        return false;
    if (AnsweredJustNow(window))
        return true;
    const ULONG_PTR asked = ++lastAsked;
    if (!::SendMessageCallbackA(window, WM_NULL, 0, 0, NoteAnswer, asked))
        return false;
    const DWORD start = ::GetTickCount();
    for (;;) {
        TakeAnswers();
        if (answered[window] >= asked) {
            NoteFreshAnswer(window, true);
            return true;
        }
        const DWORD waited = ::GetTickCount() - start;
        if (waited >= timeoutMs) {
            awaited[window] = asked;
            return false;
        }
        // The answer arrives as a sent message, which wakes this at once. Posted messages (the
        // banner's ticks) do not: they stay queued for the caller, and waking for them would spin.
        ::MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs - waited, QS_SENDMESSAGE, 0);
    }
}

// The formats in a private heap: a large text the user copied costs memory only while a history
// read holds it, and HeapDestroy returns all of it at once, with nothing left in the process heap.
class HeapSavedClipboard : public SavedClipboard {
public:
    HeapSavedClipboard() : heap_(::HeapCreate(HEAP_NO_SERIALIZE, 0, 0)) {}
    ~HeapSavedClipboard() override {
        if (heap_)
            ::HeapDestroy(heap_);
    }
    HeapSavedClipboard(const HeapSavedClipboard&) = delete;
    HeapSavedClipboard& operator=(const HeapSavedClipboard&) = delete;

    bool Add(unsigned format, std::string_view bytes) {
        void* copy = heap_ ? ::HeapAlloc(heap_, 0, bytes.empty() ? 1 : bytes.size()) : nullptr;
        if (!copy)
            return false;
        std::memcpy(copy, bytes.data(), bytes.size());
        formats_.push_back({format, static_cast<const char*>(copy), bytes.size()});
        return true;
    }
    struct Format {
        unsigned format;
        const char* data;
        std::size_t size;
    };
    const std::vector<Format>& Formats() const { return formats_; }

private:
    HANDLE heap_;
    std::vector<Format> formats_;
};

bool IsTextFormat(unsigned format) {
    return format == CF_TEXT || format == CF_OEMTEXT || format == CF_UNICODETEXT;
}

// A text format's text up to its terminator, as UTF-16 in pieces: a large text is never converted whole.
class WidePieces {
public:
    WidePieces(unsigned format, std::string_view bytes) : format_(format) {
        if (format == CF_UNICODETEXT) {
            wide_ = std::wstring_view(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
            wide_ = wide_.substr(0, wide_.find(L'\0'));
        } else {
            bytes_ = bytes.substr(0, bytes.find('\0'));
        }
    }
    // The next piece; false at the end.
    bool Next(std::wstring& piece) {
        constexpr std::size_t kPiece = 64 * 1024;
        if (format_ == CF_UNICODETEXT) {
            piece.assign(wide_.substr(0, kPiece));
            wide_.remove_prefix(piece.size());
            return !piece.empty();
        }
        const UINT codePage = format_ == CF_OEMTEXT ? CP_OEMCP : CP_ACP;
        // The piece ends after a whole character: a lead byte's value can also be a trail byte.
        // Both system code pages are 932 on the desktops this tool serves.
        std::size_t end = 0;
        while (end < bytes_.size() && end < kPiece)
            end += IsCp932LeadByte(static_cast<unsigned char>(bytes_[end])) ? 2 : 1;
        end = std::min(end, bytes_.size());
        const int size = ::MultiByteToWideChar(codePage, 0, bytes_.data(), static_cast<int>(end), nullptr, 0);
        piece.assign(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
        if (size > 0)
            ::MultiByteToWideChar(codePage, 0, bytes_.data(), static_cast<int>(end), piece.data(), size);
        bytes_.remove_prefix(end);
        return end > 0;
    }

private:
    unsigned format_;
    std::wstring_view wide_;
    std::string_view bytes_;
};

// Whether the system would make this text format, asked for, with the same text from the one the
// clipboard gave first: it is then not put back, so that the process does not hold a second and
// third copy of a large text (the clipboard's data stays in the memory of the process that put it).
bool SynthesizedAlike(unsigned format, std::string_view bytes, unsigned firstFormat, std::string_view first) {
    WidePieces mine(format, bytes), theirs(firstFormat, first);
    std::wstring a, b;
    std::size_t ai = 0, bi = 0;
    for (;;) {
        if (ai == a.size()) {
            ai = 0;
            if (!mine.Next(a))
                a.clear();
        }
        if (bi == b.size()) {
            bi = 0;
            if (!theirs.Next(b))
                b.clear();
        }
        if (a.empty() || b.empty())
            return a.empty() && b.empty();
        const std::size_t n = std::min(a.size() - ai, b.size() - bi);
        if (a.compare(ai, n, b, bi, n) != 0)
            return false;
        ai += n;
        bi += n;
    }
}

// Puts a copy of the bytes on the open clipboard.
bool SetGlobalClipboardData(unsigned format, const char* bytes, std::size_t size) {
    ClipboardMemory memory(size);
    void* data = memory.Lock();
    if (!data)
        return false;
    std::memcpy(data, bytes, size);
    memory.Unlock();
    return memory.PutOn(format);
}

using SendTimeout = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM, UINT, UINT, PDWORD_PTR);

// A message sent in either form once the window shows a sign of life.
std::optional<std::intptr_t> SendOnceAnswering(SendTimeout send,
                                               HWND window,
                                               UINT message,
                                               WPARAM wParam,
                                               LPARAM lParam) {
    if (!ShowsLifeInTime(window))
        return std::nullopt;
    // A window that has just answered handles the message itself at once; what it then does inside
    // (a host that runs the typed command there) is its own work, not a wait for an answer.
    constexpr UINT kHandleTimeoutMs = 3000;
    DWORD_PTR result = 0;
    if (!send(window, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG, kHandleTimeoutMs, &result)) {
        freshThread = 0;
        return std::nullopt;
    }
    NoteFreshAnswer(window, message == WM_GETTEXT || message == WM_GETTEXTLENGTH || message == WM_NULL);
    return static_cast<std::intptr_t>(result);
}

}  // namespace

bool Win32CommandLineSystem::IsWindowUnicode(WindowHandle window) {
    return ::IsWindowUnicode(ToHwnd(window)) != FALSE;
}

bool Win32CommandLineSystem::SetForegroundWindow(WindowHandle window) {
    return ::SetForegroundWindow(ToHwnd(window)) != FALSE;
}

CommandLineSystem::Delivery Win32CommandLineSystem::SendCopyData(WindowHandle window, const CopyDataRecord& record) {
    COPYDATASTRUCT copyData{record.dwData, record.cbData, const_cast<void*>(record.lpData)};
    const HWND target = ToHwnd(window);
    if (!ShowsLifeInTime(target))
        return Delivery::NotSent;
    // A record is taken once handed over, so the window's thread need not wait for the CAD
    // program's work on it: a longer one is looked at from the run's later wake-ups.
    constexpr UINT kTakeTimeoutMs = 250;
    DWORD_PTR result = 0;
    if (::SendMessageTimeoutA(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copyData),
                              SMTO_NORMAL | SMTO_ABORTIFHUNG, kTakeTimeoutMs, &result)) {
        NoteFreshAnswer(target, false);
        return Delivery::Answered;
    }
    freshThread = 0;
    // The window answered a sign of life just before, so the message reached it: a time-out means
    // it is busy handling the record, which it still does once free.
    return ::IsWindow(target) ? Delivery::Taken : Delivery::NotSent;
}

std::optional<std::intptr_t> Win32CommandLineSystem::SendMessageA(WindowHandle window,
                                                                  unsigned message,
                                                                  std::uintptr_t wParam,
                                                                  std::intptr_t lParam) {
    return SendOnceAnswering(::SendMessageTimeoutA, ToHwnd(window), message, wParam, lParam);
}

std::optional<std::intptr_t> Win32CommandLineSystem::SendMessageW(WindowHandle window,
                                                                  unsigned message,
                                                                  std::uintptr_t wParam,
                                                                  std::intptr_t lParam) {
    return SendOnceAnswering(::SendMessageTimeoutW, ToHwnd(window), message, wParam, lParam);
}

bool Win32CommandLineSystem::PostMessageA(WindowHandle window,
                                          unsigned message,
                                          std::uintptr_t wParam,
                                          std::intptr_t lParam) {
    return ::PostMessageA(ToHwnd(window), message, wParam, lParam) != FALSE;
}

void Win32CommandLineSystem::AnsweredIdle(WindowHandle window) {
    NoteFreshAnswer(ToHwnd(window), true);
}

bool Win32CommandLineSystem::AnswersInTime(WindowHandle window) {
    return ShowsLifeInTime(ToHwnd(window));
}

bool Win32CommandLineSystem::AnswersNow(WindowHandle window) {
    return ::IsWindow(ToHwnd(window)) && NoSignAwaited(ToHwnd(window));
}

std::string Win32CommandLineSystem::WideToAnsi(const std::u16string& text) {
    return AnsiFromWide(text);
}

std::u16string Win32CommandLineSystem::AnsiToWide(const std::string& text) {
    return WideFromAnsi(text);
}

void Win32CommandLineSystem::Sleep(unsigned milliseconds) {
    ::Sleep(milliseconds);
}

std::uint64_t Win32CommandLineSystem::GetTickCount64() {
    return ::GetTickCount64();
}

Win32Clipboard::Win32Clipboard()
    : owner_(::CreateWindowExA(0,
                               "STATIC",
                               "",
                               0,
                               0,
                               0,
                               0,
                               0,
                               HWND_MESSAGE,
                               nullptr,
                               ::GetModuleHandleA(nullptr),
                               nullptr)) {}

Win32Clipboard::~Win32Clipboard() {
    if (owner_)
        ::DestroyWindow(owner_);
}

bool Win32Clipboard::OwnerAnswers() {
    HWND owner = ::GetClipboardOwner();
    DWORD process = 0;
    if (!owner || !::GetWindowThreadProcessId(owner, &process) || process == ::GetCurrentProcessId())
        return true;
    return ShowsLifeInTime(owner, kOwnerTimeoutMs);
}

bool Win32Clipboard::OpenClipboard() {
    return ::OpenClipboard(owner_) != FALSE;
}

bool Win32Clipboard::CloseClipboard() {
    return ::CloseClipboard() != FALSE;
}

bool Win32Clipboard::EmptyClipboard() {
    return ::EmptyClipboard() != FALSE;
}

std::vector<unsigned> Win32Clipboard::Formats() {
    std::vector<unsigned> formats;
    for (UINT format = ::EnumClipboardFormats(0); format != 0; format = ::EnumClipboardFormats(format))
        formats.push_back(format);
    return formats;
}

bool Win32Clipboard::GetClipboardData(unsigned format, std::string& bytes) {
    if (format == CF_ENHMETAFILE) {
        auto metafile = static_cast<HENHMETAFILE>(::GetClipboardData(format));
        const UINT size = metafile ? ::GetEnhMetaFileBits(metafile, 0, nullptr) : 0;
        if (size == 0)
            return false;
        bytes.assign(size, '\0');
        return ::GetEnhMetaFileBits(metafile, size, reinterpret_cast<BYTE*>(bytes.data())) == size;
    }
    return ViewClipboardData(format, [&bytes](std::string_view data) { bytes.assign(data); });
}

bool Win32Clipboard::ViewClipboardData(unsigned format, const std::function<void(std::string_view)>& look) {
    if (IsHandleFormat(format) || format == CF_ENHMETAFILE)
        return false;
    HGLOBAL memory = ::GetClipboardData(format);
    if (!memory)
        return false;
    const SIZE_T size = ::GlobalSize(memory);
    const void* data = ::GlobalLock(memory);
    if (!data)
        return false;
    // Unlocked however look ends.
    struct Unlock {
        HGLOBAL memory;
        ~Unlock() { ::GlobalUnlock(memory); }
    } unlock{memory};
    look(std::string_view(static_cast<const char*>(data), size));
    return true;
}

std::unique_ptr<SavedClipboard> Win32Clipboard::Save() {
    auto saved = std::make_unique<HeapSavedClipboard>();
    int firstText = -1;  // index of the first text format saved
    const std::vector<unsigned> formats = Formats();
    saved->heldAny = !formats.empty();
    for (unsigned format : formats) {
        if (format == CF_ENHMETAFILE) {
            std::string bits;
            if (GetClipboardData(format, bits))
                saved->Add(format, bits);
            continue;
        }
        ViewClipboardData(format, [&](std::string_view data) {
            if (IsTextFormat(format) && firstText >= 0) {
                const auto& first = saved->Formats()[static_cast<std::size_t>(firstText)];
                if (SynthesizedAlike(format, data, first.format, std::string_view(first.data, first.size)))
                    return;
            }
            if (saved->Add(format, data) && IsTextFormat(format) && firstText < 0)
                firstText = static_cast<int>(saved->Formats().size() - 1);
        });
    }
    return saved;
}

void Win32Clipboard::PutBack(const SavedClipboard& saved) {
    ::EmptyClipboard();
    for (const auto& format : static_cast<const HeapSavedClipboard&>(saved).Formats()) {
        if (format.format == CF_ENHMETAFILE) {
            SetClipboardData(format.format, std::string(format.data, format.size));
            continue;
        }
        SetGlobalClipboardData(format.format, format.data, format.size);
    }
}

bool Win32Clipboard::SetClipboardData(unsigned format, const std::string& bytes) {
    if (format == CF_ENHMETAFILE) {
        HENHMETAFILE metafile =
            ::SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), reinterpret_cast<const BYTE*>(bytes.data()));
        if (!metafile)
            return false;
        if (!::SetClipboardData(format, metafile)) {
            ::DeleteEnhMetaFile(metafile);
            return false;
        }
        return true;
    }
    return SetGlobalClipboardData(format, bytes.data(), bytes.size());
}

}  // namespace platform
