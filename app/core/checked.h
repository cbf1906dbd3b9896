#pragma once
// A value, or the words of the error box that say why there is none: what a run's checks return
// instead of throwing. Exceptions are left for faults.

#include <optional>
#include <string>
#include <utility>

namespace app {

template <typename T>
class Checked {
public:
    Checked(T value) : value_(std::move(value)) {}  // NOLINT: a value converts as it is
    static Checked Refused(std::u16string why) {
        Checked refused;
        refused.error_ = std::move(why);
        return refused;
    }

    explicit operator bool() const { return value_.has_value(); }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }
    // Empty for a value.
    const std::u16string& Error() const { return error_; }

private:
    Checked() = default;
    std::optional<T> value_;
    std::u16string error_;
};

}  // namespace app
