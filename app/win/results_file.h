#pragma once
// The results file in the work folder: each measured shape appends one whole row (UTF-8 with a
// byte-order mark, CRLF), a list is copied or opened from the system menu, and a new list starts
// by renaming the file. Nothing is ever deleted or rewritten.

#include <string>
#include <utility>
#include <vector>

namespace app {

class ResultsFile {
public:
    // A path in the system code page.
    void SetPath(std::string path) { path_ = std::move(path); }
    const std::string& Path() const { return path_; }

    // Appends the row, after any earlier rows that could not be written, in one write. False when
    // the file cannot be written: the rows are kept for the next try and nothing of them is left
    // in the file.
    bool Append(const std::string& row);
    // Tries again to write the rows kept by failed appends.
    bool WritePending();
    std::size_t PendingRows() const { return pending_.size(); }
    // True once after an append failed.
    bool TakeFailure() { return std::exchange(failed_, false); }

    // The file holds a row besides the header, or rows wait to be written.
    bool HasRows() const;
    bool Exists() const;
    // The file's text and the rows still waiting; throws framework::EInOutError when the file
    // exists but cannot be read.
    std::u16string ListText() const;
    // Renames the file to the executable's name and the time; the next row starts a new file.
    // Returns the new path; throws framework::EInOutError when the file cannot be renamed.
    std::string StartNewList(const std::string& executablePath);

private:
    std::string path_;
    std::vector<std::string> pending_;
    bool failed_ = false;
};

// Text conversions at the file's edge.
std::u16string WideFromAnsi(const std::string& text);
std::string AnsiFromWide(const std::u16string& text);

}  // namespace app
