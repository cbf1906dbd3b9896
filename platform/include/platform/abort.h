#pragma once
// The silent abort: ends the whole user action that is running, and nothing is shown. The top of
// every user action (the framework's error model) drops it without a word.

#include <exception>

namespace platform {

class EAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

[[noreturn]] inline void Abort() {
    throw EAbort();
}

}  // namespace platform
