#pragma once
// The framework's exception classes. Messages are byte strings in the system code page; the
// application's error box shows them. EAbort is the silent abort: it ends a user action and shows nothing.

#include <stdexcept>
#include <string>

namespace framework {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

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

// Raises the silent abort.
[[noreturn]] inline void Abort() {
    throw EAbort();
}

}  // namespace framework
