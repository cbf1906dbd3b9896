#pragma once
// A settings file in the Windows profile format, read and written through the private-profile
// functions so that every other section, key and comment in the file stays as it is.

#include <string>

namespace framework {

class TIniFile {
public:
    explicit TIniFile(std::string path) : path_(std::move(path)) {}
    const std::string& FileName() const { return path_; }

    // At most 2047 bytes of a value are read.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
    // Throws EIniFileException ("<path> に書き込めません") when the file cannot be written.
    void WriteString(const std::string& section, const std::string& key, const std::string& value) const;

private:
    std::string path_;
};

}  // namespace framework
