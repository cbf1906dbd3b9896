#pragma once
// A settings file in the Windows profile format, read and written through the private-profile
// functions so that every other section, key and comment in the file stays as it is. The W
// functions keep a file in the encoding it has: one without a byte-order mark stays in the
// system code page.

#include <string>

namespace framework {

class TIniFile {
public:
    explicit TIniFile(std::u16string path) : path_(std::move(path)) {}
    const std::u16string& FileName() const { return path_; }

    // At most 2047 characters of a value are read.
    std::u16string ReadString(const std::u16string& section,
                              const std::u16string& key,
                              const std::u16string& fallback) const;
    // Throws EIniFileException ("<path> に書き込めません") when the file cannot be written.
    void WriteString(const std::u16string& section, const std::u16string& key, const std::u16string& value) const;

private:
    std::u16string path_;
};

}  // namespace framework
