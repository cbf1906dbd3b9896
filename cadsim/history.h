#pragma once
// The command history: its lines, oldest first, and the same lines as one text with CR LF after
// each, kept up to date as lines come and go, so that handing a long history to the clipboard is
// one block copy rather than a walk over every line. Portable: no window system here.

#include <cstddef>
#include <deque>
#include <initializer_list>
#include <string>
#include <string_view>

namespace cadsim {

class History {
public:
    using const_iterator = std::deque<std::string>::const_iterator;
    using iterator = const_iterator;
    using const_reverse_iterator = std::deque<std::string>::const_reverse_iterator;
    using value_type = std::string;

    History() = default;
    History(std::initializer_list<std::string> lines);

    // Keeps at most this many lines (0: no bound of its own), dropping the oldest as new ones come,
    // as a CAD program that holds a fixed number of history lines does.
    void SetKeep(std::size_t lines);
    void push_back(std::string line);
    void pop_front();

    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    const std::string& front() const { return lines_.front(); }
    const std::string& back() const { return lines_.back(); }
    const std::string& operator[](std::size_t index) const { return lines_[index]; }
    const_iterator begin() const { return lines_.begin(); }
    const_iterator end() const { return lines_.end(); }
    const_reverse_iterator rbegin() const { return lines_.rbegin(); }
    const_reverse_iterator rend() const { return lines_.rend(); }

    bool operator==(const History& other) const { return lines_ == other.lines_; }
    bool operator!=(const History& other) const { return !(*this == other); }

    // Every line followed by CR LF, oldest first.
    std::string_view Text() const { return std::string_view(text_).substr(dropped_); }

private:
    std::deque<std::string> lines_;
    std::string text_;
    std::size_t dropped_ = 0;  // bytes at the start of text_ that belong to lines already gone
    std::size_t keep_ = 0;
};

}  // namespace cadsim
