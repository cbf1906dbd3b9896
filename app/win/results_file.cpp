#include "results_file.h"

#include <windows.h>

#include <algorithm>

#include "framework/exceptions.h"
#include "framework/handles.h"
#include "framework/shell_folders.h"
#include "platform/path_names.h"
#include "results_file_io.h"
#include "results_table.h"
#include "text_conversion.h"

namespace app {
namespace {

const char kMark[] = "\xEF\xBB\xBF";
// Another program may be appending its row at the same moment: a short wait outlasts that, and a
// list found locked (a spreadsheet holding it) is not waited for again until it has been written.
constexpr platform::RetryPolicy kOpenRetry = platform::kConcurrentWriteRetry;
constexpr std::size_t kPiece = 1024 * 1024;

std::string HeaderUtf8() {
    return platform::Utf8FromWide(kResultsHeader);
}

// The last byte of a file that is not empty.
char LastByte(HANDLE file, std::uint64_t size) {
    char last = '\n';
    DWORD read = 0;
    if (!SeekTo(file, size - 1) || !::ReadFile(file, &last, 1, &read, nullptr) || read != 1)
        return '\n';
    return last;
}

std::uint64_t FileId(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file, &info))
        return 0;
    return (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow) ^
           (static_cast<std::uint64_t>(info.dwVolumeSerialNumber) << 48);
}

[[noreturn]] void RaiseReadError(const std::u16string& path) {
    throw framework::EInOutError(path + u" を読み込めません");
}

}  // namespace

std::uint64_t FileSize(HANDLE file) {
    LARGE_INTEGER size{};
    return ::GetFileSizeEx(file, &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
}

bool SeekTo(HANDLE file, std::uint64_t offset) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return ::SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != FALSE;
}

bool WriteAtEnd(HANDLE file, std::uint64_t size, const std::string& text) {
    DWORD written = 0;
    const bool complete = SeekTo(file, size) &&
                          ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                          written == text.size();
    // A full disk may have taken part of the text: the file goes back to what it held before.
    if (!complete && SeekTo(file, size))
        ::SetEndOfFile(file);
    return complete;
}

ResultsFile::~ResultsFile() {
    try {
        KeepPending();
    } catch (...) {
        // Nothing may leave a destructor; the rows had their last chance.
    }
}

void ResultsFile::SetPath(std::u16string path) {
    path_ = std::move(path);
    known_.valid = false;
    locked_ = false;
}

bool ResultsFile::Append(const std::u16string& row) {
    pending_.push_back(platform::Utf8FromWide(row));
    return WritePending();
}

bool ResultsFile::WritePending() {
    failedPath_.clear();
    if (!FlushKept() || (!pending_.empty() && !WriteRows(pending_))) {
        failed_ = failed_ || !pending_.empty();
        return pending_.empty();
    }
    pending_.clear();
    return true;
}

std::u16string ResultsFile::TakeFailureMessage() {
    std::u16string message = std::exchange(asideMessage_, std::u16string());
    if (TakeFailure())
        message +=
            (message.empty() ? u"" : u"\r\n") + (failedPath_.empty() ? path_ : failedPath_) + u" に書き込めません";
    return message;
}

ListEncoding ResultsFile::EncodingOf(void* handle, std::uint64_t size) const {
    HANDLE file = static_cast<HANDLE>(handle);
    const std::uint64_t id = FileId(file);
    if (known_.valid && known_.size == size && known_.fileId == id)
        return known_.encoding;
    ListEncodingScan scan;
    std::vector<char> piece(kPiece);
    DWORD read = 0;
    if (!SeekTo(file, 0))
        return ListEncoding::Utf8WithMark;  // unreadable for us: appended to as before, never set aside
    while (::ReadFile(file, piece.data(), static_cast<DWORD>(piece.size()), &read, nullptr) && read > 0) {
        scan.Feed(std::string_view(piece.data(), read));
        if (scan.Marked())
            break;
    }
    const ListEncoding encoding =
        scan.Marked() ? (size == 3 ? ListEncoding::MarkOnly : ListEncoding::Utf8WithMark) : scan.Result();
    known_ = {size, id, encoding, true};
    return encoding;
}

std::u16string ResultsFile::SetAside() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const std::u16string target =
            platform::FolderOf(path_) +
            ArchivedResultsName(path_, now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, attempt);
        if (::MoveFileW(framework::WidePath(path_), framework::WidePath(target)))
            return target;
        const DWORD error = ::GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            break;
    }
    return std::u16string();
}

bool ResultsFile::WriteRows(const std::vector<std::string>& utf8Rows,
                            const std::function<bool(std::uint64_t)>& beforeWrite) {
    framework::ForceDirectories(platform::FolderOf(path_));  // a work folder removed since the start comes back
    // A list the user made read-only stays as it is, whatever rights the process has.
    const DWORD attributes = ::GetFileAttributesW(framework::WidePath(path_));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    framework::FileHandle file = OpenShared(path_, locked_ ? platform::kSingleTry : kOpenRetry, &locked_);
    if (!file)
        return false;
    // Only the end of a list in our own encoding is looked at, so a long list appends as fast as a short one.
    std::uint64_t size = FileSize(file.Get());
    ListEncoding encoding = size == 0 ? ListEncoding::Empty : EncodingOf(file.Get(), size);
    if (encoding == ListEncoding::Unreadable) {
        // Rows in yet another encoding would make it worse: it is kept as it is, and a new list starts.
        file.Reset();
        const std::u16string aside = SetAside();
        if (aside.empty())
            return false;
        asideMessage_ = path_ + u" は UTF-8 でもコードページ 932 でも読めないため、" + aside +
                        u" として残し、新しい一覧を始めました";
        file = OpenShared(path_, kOpenRetry, &locked_);
        if (!file)
            return false;
        size = FileSize(file.Get());
        encoding = size == 0 ? ListEncoding::Empty : EncodingOf(file.Get(), size);
    }
    std::string text;
    if (encoding == ListEncoding::Empty)
        text = kMark + HeaderUtf8();
    else if (encoding == ListEncoding::MarkOnly)
        text = HeaderUtf8();
    else if (LastByte(file.Get(), size) != '\n')
        text = "\r\n";  // a file that does not end its last line would run it into our row
    for (const std::string& row : utf8Rows)
        text += encoding == ListEncoding::CodePage932 ? platform::Cp932FromWide(platform::WideFromUtf8(row)) : row;
    if ((beforeWrite && !beforeWrite(size)) || !WriteAtEnd(file.Get(), size, text))
        return false;
    const bool ours = encoding == ListEncoding::Empty || encoding == ListEncoding::MarkOnly;
    known_ = {size + text.size(), FileId(file.Get()), ours ? ListEncoding::Utf8WithMark : encoding, true};
    return true;
}

bool ResultsFile::ListHolds(std::uint64_t offset, const std::vector<std::string>& utf8Rows) const {
    framework::FileHandle file(::CreateFileW(framework::WidePath(path_), GENERIC_READ,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !SeekTo(file.Get(), offset))
        return false;
    std::string utf8;
    std::string codePage;
    for (const std::string& row : utf8Rows) {
        utf8 += row;
        codePage += platform::Cp932FromWide(platform::WideFromUtf8(row));
    }
    // What WriteRows puts ahead of the rows, in whichever encoding the list had.
    const std::string header = HeaderUtf8();
    const std::string leads[] = {std::string(), "\r\n", kMark + header, header};
    std::string bytes(std::string(kMark).size() + header.size() + std::max(utf8.size(), codePage.size()), '\0');
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return false;
    bytes.resize(read);
    for (const std::string& lead : leads) {
        for (const std::string* rows : {&utf8, &codePage}) {
            const std::string text = lead + *rows;
            if (bytes.size() >= text.size() && bytes.compare(0, text.size(), text) == 0)
                return true;
        }
    }
    return false;
}

bool ResultsFile::Exists() const {
    const DWORD attributes = ::GetFileAttributesW(framework::WidePath(path_));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ResultsFile::HasRows() const {
    if (!pending_.empty() || !KeptFiles().empty())
        return true;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(framework::WidePath(path_), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    // More than the byte-order mark and the header that start every list.
    const std::uint64_t size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return size > std::string(kMark).size() + HeaderUtf8().size();
}

void ResultsFile::ReadList(const std::function<void(std::u16string_view)>& sink) const {
    bool endsLine = true;
    if (Exists()) {
        framework::FileHandle file(::CreateFileW(framework::WidePath(path_), GENERIC_READ,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            RaiseReadError(path_);
        // The encoding first (a list without the mark is read through once to tell), then the text.
        const std::uint64_t size = FileSize(file.Get());
        const ListEncoding encoding =
            size == 0 ? ListEncoding::Empty : const_cast<ResultsFile*>(this)->EncodingOf(file.Get(), size);
        const bool codePage = encoding == ListEncoding::CodePage932;
        if (!SeekTo(file.Get(), 0))
            RaiseReadError(path_);
        std::vector<char> piece(kPiece);
        std::size_t carried = 0;  // bytes of a character cut by the last piece
        DWORD read = 0;
        for (;;) {
            if (!::ReadFile(file.Get(), piece.data() + carried, static_cast<DWORD>(piece.size() - carried), &read,
                            nullptr))
                RaiseReadError(path_);
            const std::string_view bytes(piece.data(), carried + read);
            const std::size_t complete = read == 0  ? bytes.size()
                                         : codePage ? CompleteCp932Prefix(bytes)
                                                    : CompleteUtf8Prefix(bytes);
            const std::u16string text = platform::ToWide(codePage ? platform::kCp932CodePage : platform::kUtf8CodePage,
                                                         bytes.substr(0, complete));
            if (!text.empty()) {
                sink(text);
                endsLine = text.back() == u'\n';
            }
            if (read == 0)
                break;
            carried = bytes.size() - complete;
            std::copy(piece.begin() + static_cast<std::ptrdiff_t>(complete),
                      piece.begin() + static_cast<std::ptrdiff_t>(bytes.size()), piece.begin());
        }
    }
    if (!endsLine)
        sink(u"\r\n");
    for (const KeptFile& kept : KeptFiles()) {
        for (const std::string& row : ReadKeptRows(kept.path))
            sink(platform::WideFromUtf8(row));
    }
    for (const std::string& row : pending_)
        sink(platform::WideFromUtf8(row));
}

std::u16string ResultsFile::StartNewList(const std::u16string& executablePath) {
    // Rows measured for this list go into it, or beside it under its new name: never into the next.
    WritePending();
    if (!KeepPending())
        throw framework::EInOutError(KeptPath() + u" に書き込めません");
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const std::u16string folder = platform::FolderOf(path_);
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const std::u16string target = folder + ArchivedResultsName(executablePath, now.wYear, now.wMonth, now.wDay,
                                                                   now.wHour, now.wMinute, now.wSecond, attempt);
        // Never replaces a file: a list kept in the same second gets the next number.
        if (::MoveFileW(framework::WidePath(path_), framework::WidePath(target))) {
            known_.valid = false;
            for (const KeptFile& kept : KeptFiles())
                ::MoveFileW(framework::WidePath(kept.path), framework::WidePath(KeptFilePath(target, kept.number)));
            return target;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            break;
    }
    throw framework::EInOutError(path_ + u" の名前を変更できません");
}

}  // namespace app
