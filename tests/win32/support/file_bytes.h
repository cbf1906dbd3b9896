#pragma once
// Whole files as bytes, for tests that check exactly what the program wrote.

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

}  // namespace testsupport
