#pragma once
// The parts of a path held in UTF-16, where a backslash is always a backslash.

#include <string>

namespace platform {

// What follows the last backslash, colon or slash.
inline std::u16string FileNameOf(const std::u16string& path) {
    const std::size_t separator = path.find_last_of(u"\\/:");
    return separator == std::u16string::npos ? path : path.substr(separator + 1);
}

// Up to and with the last backslash or slash; empty for a bare name.
inline std::u16string FolderOf(const std::u16string& path) {
    const std::size_t separator = path.find_last_of(u"\\/");
    return separator == std::u16string::npos ? std::u16string() : path.substr(0, separator + 1);
}

// The path with the extension of its file name replaced (or added when it has none).
inline std::u16string ChangeExtension(const std::u16string& path, const std::u16string& extension) {
    const std::size_t dot = path.find_last_of(u".\\/:");
    const bool hasExtension = dot != std::u16string::npos && path[dot] == u'.';
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}

}  // namespace platform
