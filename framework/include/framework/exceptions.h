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
    explicit Exception(std::u16string message) : std::runtime_error(std::string()), message_(std::move(message)) {}

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
