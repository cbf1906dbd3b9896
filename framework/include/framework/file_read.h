#pragma once
// The one whole-file read of the program: the mass-properties report, the side files of the list.

#include <cstddef>
#include <limits>
#include <optional>
#include <string>

namespace framework {

// The file's bytes, read with others still able to read and write it (the CAD program may be
// rewriting a report, another instance appending a row). Nothing when no file or folder is at the
// path. A file longer than maxBytes gives its first maxBytes only. Throws EInOutError with
// FileErrorMessage when the file is there but cannot be opened or read (a folder in its place is
// access denied).
std::optional<std::string> ReadWholeFile(const std::u16string& path,
                                         std::size_t maxBytes = std::numeric_limits<std::size_t>::max());
// The same through a handle already open for reading, from its start; nothing when it cannot be
// read whole (a side file held alone is read so, with no one able to change it in between).
std::optional<std::string> ReadWholeFile(void* file, std::size_t maxBytes);

// The framework's text for a failed file operation: "ファイルへのアクセスが拒否されました" for access
// denied, "I/O エラー (code)" for any other error code.
std::u16string FileErrorMessage(unsigned long error);

}  // namespace framework
