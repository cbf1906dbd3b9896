#pragma once
// The comparison kinds that the window matchers use on titles and class names (byte strings in
// code page 932). The locale kinds go through the window system's CompareStringA.

#include <string>

#include "platform/window_system.h"

namespace cadlink {

// The first bytes of text equal the literal's bytes; a shorter text fails.
bool BytePrefix(const std::string& text, const std::string& literal);
// The literal occurs somewhere in text, byte for byte.
bool ByteContains(const std::string& text, const std::string& literal);
// CompareStringA over the literal's length of text and of the literal reports equal.
bool LocalePrefix(platform::WindowSystem& windows, const std::string& text, const std::string& literal);
// The literal's bytes occur in text at a character boundary (not on the second byte of a
// double-byte character) and CompareStringA reports equal there.
bool LocaleContains(platform::WindowSystem& windows, const std::string& text, const std::string& literal);

}  // namespace cadlink
