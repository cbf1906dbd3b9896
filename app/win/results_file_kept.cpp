// The side files of a results list: rows the list could not take when the program ended, written
// to the list ahead of new rows as soon as it can be written again, each exactly once.
#include <algorithm>
#include <optional>

#include "framework/exceptions.h"
#include "framework/file_read.h"
#include "results_file.h"
#include "results_file_io.h"
#include "framework/shell_folders.h"
#include "platform/path_names.h"
#include "win32_clock.h"

namespace app {
namespace {

// A side file of ours is small: a few hundred rows at most. Anything larger is not ours.
constexpr std::uint64_t kMaxKeptBytes = 64u * 1024 * 1024;

// Held by us alone while it is read, written to the list and emptied, so that no one else reads
// it half-way and its rows cannot reach the list twice.
framework::FileHandle OpenAlone(const std::u16string& path, DWORD disposition) {
    return framework::FileHandle(::CreateFileW(framework::WidePath(path), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                               disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Through the handle held alone, not by the path: no one may read or write it between. Nothing
// for a file too large to be ours.
std::optional<std::string> ReadHeld(HANDLE file) {
    std::optional<std::string> bytes = framework::ReadWholeFile(file, static_cast<std::size_t>(kMaxKeptBytes) + 1);
    if (bytes && bytes->size() > kMaxKeptBytes)
        return std::nullopt;
    return bytes;
}

// Says in the side file where its rows go in the list, before they go: a program ended between
// the list's write and the side file's end then finds them there and does not write them twice.
// A torn last line (no row) is cut off first, so that the mark is a line of its own.
bool MarkMoving(HANDLE file, const std::string& bytes, std::uint64_t offset) {
    const std::size_t lineEnd = bytes.rfind("\r\n");
    const std::size_t end = lineEnd == std::string::npos ? bytes.size() : lineEnd + 2;
    const std::string mark = kKeptMovingMark + std::to_string(offset) + "\r\n";
    return SeekTo(file, end) && ::SetEndOfFile(file) && WriteAtEnd(file, end, mark) && ::FlushFileBuffers(file);
}

}  // namespace

framework::FileHandle OpenShared(const std::u16string& path, const platform::RetryPolicy& policy, bool* locked) {
    framework::FileHandle file;
    platform::Win32Clock clock;
    platform::RetryUntilDeadline(clock, policy, [&] {
        // Others may read the list while a row is written, never write to it.
        file.Reset(::CreateFileW(framework::WidePath(path), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        *locked = !file && ::GetLastError() == ERROR_SHARING_VIOLATION;
        return !*locked;  // open, or failed for a reason that waiting does not mend
    });
    return file;
}

std::vector<std::string> ReadKeptRows(const std::u16string& path) {
    std::optional<std::string> bytes;
    try {
        // One byte more than ours can hold tells a file too large to be ours.
        bytes = framework::ReadWholeFile(path, static_cast<std::size_t>(kMaxKeptBytes) + 1);
    } catch (const framework::EInOutError&) {
        return {};  // locked or unreadable: read again next time
    }
    if (!bytes || bytes->size() > kMaxKeptBytes)
        return {};
    KeptRows kept = ParseKeptFile(*bytes);
    return kept.ours ? std::move(kept.rows) : std::vector<std::string>();
}

std::vector<ResultsFile::KeptFile> ResultsFile::KeptFiles() const {
    std::vector<KeptFile> files;
    const std::u16string folder = platform::FolderOf(path_);
    const std::u16string listName = path_.substr(folder.size());
    WIN32_FIND_DATAW found;
    // "Tavro.kept.csv" and "Tavro.kept-2.csv" alike; the names are checked one by one below.
    const std::u16string pattern = platform::ChangeExtension(path_, u"") + u".kept*.csv";
    HANDLE search = ::FindFirstFileW(framework::WidePath(pattern), &found);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do {
        const std::u16string name = reinterpret_cast<const char16_t*>(found.cFileName);
        const int number = KeptFileNumber(listName, name);
        if (number > 0 && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back({number, folder + name});
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(files.begin(), files.end(), [](const KeptFile& a, const KeptFile& b) { return a.number < b.number; });
    return files;
}

bool ResultsFile::FlushKept() {
    for (const KeptFile& kept : KeptFiles()) {
        framework::FileHandle file = OpenAlone(kept.path, OPEN_EXISTING);
        if (!file) {
            if (::GetLastError() == ERROR_FILE_NOT_FOUND)
                continue;
            return false;  // its rows come first: nothing newer goes ahead of them
        }
        const std::optional<std::string> bytes = ReadHeld(file.Get());
        if (!bytes)
            continue;  // too large to be ours: kept aside as it is
        const KeptRows rows = ParseKeptFile(*bytes);
        if (!rows.ours)
            continue;  // not ours: never read again, never appended to
        const bool alreadyMoved = rows.movingAt && ListHolds(*rows.movingAt, rows.rows);
        if (!rows.rows.empty() && !alreadyMoved &&
            !WriteRows(rows.rows, [&](std::uint64_t offset) { return MarkMoving(file.Get(), *bytes, offset); }))
            return false;
        // Emptied while still held, so that a file that cannot be deleted gives no row twice.
        if (SeekTo(file.Get(), 0))
            ::SetEndOfFile(file.Get());
        file.Reset();
        ::DeleteFileW(framework::WidePath(kept.path));
    }
    return true;
}

bool ResultsFile::KeepPending() {
    if (pending_.empty() || path_.empty())
        return true;
    std::string rows;
    for (const std::string& row : pending_)
        rows += row;
    const std::vector<KeptFile> files = KeptFiles();
    // The last side file of ours takes them, behind its own rows; one that is locked, not ours or
    // half-way into the list is left as it is and the next name is used.
    if (!files.empty()) {
        framework::FileHandle file = OpenAlone(files.back().path, OPEN_EXISTING);
        const std::optional<std::string> bytes = file ? ReadHeld(file.Get()) : std::nullopt;
        const KeptRows kept = bytes ? ParseKeptFile(*bytes) : KeptRows();
        if (kept.ours && !kept.movingAt) {
            const std::string text = (bytes->empty() ? std::string(kKeptSignature) : std::string()) + rows;
            if (WriteAtEnd(file.Get(), bytes->size(), text)) {
                keptPath_ = files.back().path;
                pending_.clear();
                return true;
            }
        }
    }
    const int number = files.empty() ? 1 : files.back().number + 1;
    const std::u16string path = KeptFilePath(path_, number);
    keptPath_ = path;
    framework::FileHandle file = OpenAlone(path, CREATE_NEW);
    if (!file || !WriteAtEnd(file.Get(), 0, kKeptSignature + rows)) {
        if (file) {
            file.Reset();
            ::DeleteFileW(framework::WidePath(path));
        }
        return false;
    }
    pending_.clear();
    return true;
}

std::u16string ResultsFile::KeptPath() const {
    if (!keptPath_.empty())
        return keptPath_;
    const std::vector<KeptFile> files = KeptFiles();
    return files.empty() ? KeptFilePath(path_, 1) : files.back().path;
}

}  // namespace app
