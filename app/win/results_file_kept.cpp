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
// Side-file names tried past the last one of ours.
constexpr int kMaxKeptNumber = 9999;

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
            // Gone, or made read-only by the user: left as it is, it holds no newer row back.
            if (::GetLastError() != ERROR_SHARING_VIOLATION)
                continue;
            failedPath_ = kept.path;
            return false;  // locked: its rows come first, nothing newer goes ahead of them
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

ResultsFile::KeptTarget ResultsFile::NextKept() const {
    const std::vector<KeptFile> files = KeptFiles();
    // The last side file of ours takes them, behind its own rows, unless it is half-way into the list.
    if (!files.empty()) {
        framework::FileHandle file = OpenAlone(files.back().path, OPEN_EXISTING);
        const std::optional<std::string> bytes = file ? ReadHeld(file.Get()) : std::nullopt;
        const KeptRows kept = bytes ? ParseKeptFile(*bytes) : KeptRows();
        if (kept.ours && !kept.movingAt)
            return {files.back().path, true};
    }
    // A name that is taken (a folder, a file not ours, one locked or read-only) is passed over.
    for (int number = files.empty() ? 1 : files.back().number + 1; number < kMaxKeptNumber; ++number) {
        const std::u16string path = KeptFilePath(path_, number);
        if (::GetFileAttributesW(framework::WidePath(path)) == INVALID_FILE_ATTRIBUTES)
            return {path, false};
    }
    return {KeptFilePath(path_, kMaxKeptNumber), false};
}

bool ResultsFile::KeepPending() {
    if (pending_.empty() || path_.empty())
        return true;
    std::string rows;
    for (const std::string& row : pending_)
        rows += row;
    // Tried name after name: another program may take one between the look and the write.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const KeptTarget target = NextKept();
        keptPath_ = target.path;
        framework::FileHandle file = OpenAlone(target.path, target.existing ? OPEN_EXISTING : CREATE_NEW);
        const std::optional<std::string> bytes = file && target.existing ? ReadHeld(file.Get()) : std::string();
        if (!file || !bytes)
            continue;
        const std::string text = (bytes->empty() ? std::string(kKeptSignature) : std::string()) + rows;
        if (WriteAtEnd(file.Get(), bytes->size(), text)) {
            pending_.clear();
            return true;
        }
        if (!target.existing) {
            file.Reset();
            ::DeleteFileW(framework::WidePath(target.path));
        }
        break;  // a full disk: the next name would fare no better
    }
    return false;
}

std::u16string ResultsFile::KeptPath() const {
    return keptPath_.empty() || !pending_.empty() ? NextKept().path : keptPath_;
}

}  // namespace app
