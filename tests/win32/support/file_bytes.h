#pragma once
// Whole files as bytes, for tests that check exactly what the program wrote.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace testsupport {

inline std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}

// The same for a path named outside the system code page.
inline std::string ReadBytes(const std::u16string& path) {
    std::string bytes;
    if (std::FILE* file = ::_wfopen(reinterpret_cast<const wchar_t*>(path.c_str()), L"rb")) {
        char piece[4096];
        for (std::size_t read; (read = std::fread(piece, 1, sizeof piece, file)) > 0;)
            bytes.append(piece, read);
        std::fclose(file);
    }
    return bytes;
}

inline void WriteBytes(const std::u16string& path, const std::string& bytes) {
    if (std::FILE* file = ::_wfopen(reinterpret_cast<const wchar_t*>(path.c_str()), L"wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

}  // namespace testsupport
