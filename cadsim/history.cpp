#include "history.h"

namespace cadsim {
namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr std::size_t kLineEndSize = 2;

}  // namespace

History::History(std::initializer_list<std::string> lines) {
    for (const std::string& line : lines)
        push_back(line);
}

void History::SetKeep(std::size_t lines) {
    keep_ = lines;
    while (keep_ != 0 && lines_.size() > keep_)
        pop_front();
}

void History::push_back(std::string line) {
    text_ += line;
    text_ += kLineEnd;
    lines_.push_back(std::move(line));
    while (keep_ != 0 && lines_.size() > keep_)
        pop_front();
}

void History::pop_front() {
    if (lines_.empty())
        return;
    dropped_ += lines_.front().size() + kLineEndSize;
    lines_.pop_front();
    // The text gives back what its dropped lines held once they are half of it: each byte is
    // moved at most once on average, however long the session.
    if (dropped_ > text_.size() / 2) {
        text_.erase(0, dropped_);
        dropped_ = 0;
    }
}

}  // namespace cadsim
