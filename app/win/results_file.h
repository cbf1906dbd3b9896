#pragma once
// The results file in the work folder: each measured shape appends one whole row, and a list is
// copied or opened from the system menu; a new list starts by renaming the file. A list is never
// rewritten or deleted. A new list is UTF-8 with a byte-order mark and CRLF; one that a spreadsheet
// saved again in code page 932 is continued in it, whatever the system's code page. Rows the list
// cannot take wait in memory and, when the program ends, in a side file beside the list, which the
// list takes ahead of new rows as soon as it can be written again.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "results_encoding.h"

namespace app {

class ResultsFile {
public:
    ResultsFile() = default;
    // Rows still waiting go to the side file: no way out of the program loses them.
    ~ResultsFile();
    ResultsFile(const ResultsFile&) = delete;
    ResultsFile& operator=(const ResultsFile&) = delete;

    void SetPath(std::u16string path);
    const std::u16string& Path() const { return path_; }

    // Appends the row, after the rows of side files and earlier rows that could not be written,
    // each batch in one write. False when the list cannot be written: the rows are kept for the
    // next try and nothing of them is left in the file. A list locked by another program is tried
    // once per row, without waiting, once it has been found locked.
    bool Append(const std::u16string& row);
    // Tries again to write the waiting rows, the side files' first.
    bool WritePending();
    std::size_t PendingRows() const { return pending_.size(); }
    const std::vector<std::string>& PendingUtf8() const { return pending_; }
    // True once after an append failed.
    bool TakeFailure() { return std::exchange(failed_, false); }
    // The error box's text once after a run: the list could not be written, or an unreadable list
    // was kept aside; empty when there is nothing to say.
    std::u16string TakeFailureMessage();

    // Writes the waiting rows to the list's side file; true when no row waits any more. The rows
    // are then in KeptPath().
    bool KeepPending();
    // The side file that KeepPending writes to now (or last wrote to, once nothing waits).
    std::u16string KeptPath() const;

    // The file holds a row besides the header, or rows wait to be written.
    bool HasRows() const;
    bool Exists() const;
    // The list's text in UTF-16 pieces: the file, the rows of its side files, the waiting rows.
    // Throws framework::EInOutError when the file exists but cannot be read.
    void ReadList(const std::function<void(std::u16string_view)>& sink) const;
    // Writes the waiting rows to the list first (or, failing that, to its side file), then renames
    // it, with its side files, to the executable's name and the time; the next row starts a new
    // file. Returns the new path; throws framework::EInOutError when it cannot be renamed.
    std::u16string StartNewList(const std::u16string& executablePath);

private:
    struct KeptFile {
        int number;
        std::u16string path;
    };
    std::vector<KeptFile> KeptFiles() const;
    struct KeptTarget {
        std::u16string path;
        bool existing;  // a side file of ours that takes the rows behind its own
    };
    // Where KeepPending would write now.
    KeptTarget NextKept() const;
    bool FlushKept();
    // beforeWrite is told the offset the rows go to, with the list held, before they are written;
    // false from it writes nothing.
    bool WriteRows(const std::vector<std::string>& utf8Rows,
                   const std::function<bool(std::uint64_t)>& beforeWrite = nullptr);
    // The rows stand in the list at offset, as WriteRows put them there.
    bool ListHolds(std::uint64_t offset, const std::vector<std::string>& utf8Rows) const;
    ListEncoding EncodingOf(void* file, std::uint64_t size) const;
    std::u16string SetAside();

    std::u16string path_;
    std::vector<std::string> pending_;  // UTF-8, CRLF included
    bool failed_ = false;
    bool locked_ = false;  // the last open met another program's lock
    std::u16string asideMessage_;
    std::u16string keptPath_;
    std::u16string failedPath_;  // the file that held the last write back: the list, or a locked side file
    // The encoding found for the list as it was after our last look; a copy may find it too.
    mutable struct {
        std::uint64_t size = 0;
        std::uint64_t fileId = 0;
        ListEncoding encoding = ListEncoding::Empty;
        bool valid = false;
    } known_;
};

}  // namespace app
