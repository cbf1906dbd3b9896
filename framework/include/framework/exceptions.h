#pragma once
// The framework's exception classes. Messages are byte strings in the system code page; the
// application's error box shows them. EAbort is the silent abort: it ends a user action and shows nothing.

#include <stdexcept>
#include <string>

#include "platform/abort.h"

namespace framework {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
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
    static EIniFileException WriteError(const std::string& path) {
        return EIniFileException(path + " に書き込めません");
    }
    using Exception::Exception;
};

using platform::Abort;

}  // namespace framework
