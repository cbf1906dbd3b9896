#pragma once
// The framework's exception classes; the application's error box shows their message. EAbort is
// the silent abort: it ends a user action and shows nothing.

#include <stdexcept>
#include <string>
#include <utility>

#include "platform/abort.h"

namespace framework {

class Exception : public std::runtime_error {
public:
    // A message in UTF-16: what a message naming a path or another user text must be.
    explicit Exception(std::u16string message) : std::runtime_error(std::string()), message_(std::move(message)) {}
    // A message in code page 932 bytes (what()), for texts that came from the CAD program as such.
    explicit Exception(const std::string& message) : std::runtime_error(message) {}

    // The UTF-16 message; empty for a message in code page bytes.
    const std::u16string& Message() const { return message_; }

private:
    std::u16string message_;
};

// The silent abort, shared with the portable logic that raises it.
using platform::EAbort;

// A text that is not a number where one is needed.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A file that cannot be read or written.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

// A settings file that cannot be written.
class EIniFileException : public Exception {
public:
    static EIniFileException WriteError(const std::u16string& path) {
        return EIniFileException(path + u" に書き込めません");
    }
    using Exception::Exception;
};

using platform::Abort;

}  // namespace framework
