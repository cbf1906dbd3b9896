#include "simulated_desktop.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace platform::sim {

namespace {

constexpr WindowHandle kFirstHandle = 0x10010;
constexpr WindowHandle kHandleStep = 4;

}  // namespace

WindowHandle SimulatedDesktop::Open(Window window) {
    windows_.push_back(std::move(window));
    return kFirstHandle + (windows_.size() - 1) * kHandleStep;
}

WindowHandle SimulatedDesktop::AddTopLevel(const std::string& title,
                                           const std::string& className,
                                           std::uint32_t processId) {
    const WindowHandle handle = Open(Window{title, {}, className, processId, 0, {}});
    zOrder_.insert(zOrder_.begin(), handle);
    return handle;
}

WindowHandle SimulatedDesktop::AddChild(WindowHandle parent, const std::string& title, const std::string& className) {
    const Window* found = Find(parent);
    if (found == nullptr)
        throw std::invalid_argument("AddChild: no such parent window");
    const std::uint32_t processId = found->processId;
    const WindowHandle handle = Open(Window{title, {}, className, processId, parent, {}});
    FindMutable(parent)->children.push_back(handle);
    return handle;
}

void SimulatedDesktop::Destroy(WindowHandle window) {
    if (Find(window) == nullptr)
        return;
    const std::vector<WindowHandle> children = Find(window)->children;
    for (WindowHandle child : children)
        Destroy(child);
    Window& gone = *FindMutable(window);
    if (Window* parent = FindMutable(gone.parent)) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    }
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), window), zOrder_.end());
    gone = Window{};
    gone.alive = false;
}

void SimulatedDesktop::BringToTop(WindowHandle window) {
    auto it = std::find(zOrder_.begin(), zOrder_.end(), window);
    if (it == zOrder_.end())
        return;
    zOrder_.erase(it);
    zOrder_.insert(zOrder_.begin(), window);
}

void SimulatedDesktop::SetTitle(WindowHandle window, const std::string& title) {
    if (Window* found = FindMutable(window)) {
        found->title = title;
        found->wideTitle.clear();
    }
}

void SimulatedDesktop::SetTitleW(WindowHandle window, const std::u16string& title) {
    if (Window* found = FindMutable(window)) {
        found->title = WideToAnsi(title);
        found->wideTitle = title;
    }
}

const SimulatedDesktop::Window* SimulatedDesktop::Find(WindowHandle window) const {
    if (window < kFirstHandle || (window - kFirstHandle) % kHandleStep != 0)
        return nullptr;
    const std::size_t index = (window - kFirstHandle) / kHandleStep;
    return index < windows_.size() && windows_[index].alive ? &windows_[index] : nullptr;
}

SimulatedDesktop::Window* SimulatedDesktop::FindMutable(WindowHandle window) {
    return const_cast<Window*>(Find(window));
}

void SimulatedDesktop::EnumWindows(const WindowVisitor& visit) {
    ++calls_.enumWindows;
    WalkTopLevel(visit);
}

const std::vector<WindowHandle>& SimulatedDesktop::WalkCopy(const std::vector<WindowHandle>& list) {
    if (walkDepth_ == walkCopies_.size())
        walkCopies_.emplace_back();
    std::vector<WindowHandle>& copy = walkCopies_[walkDepth_++];
    copy.assign(list.begin(), list.end());
    return copy;
}

void SimulatedDesktop::WalkTopLevel(const WindowVisitor& visit) {
    const std::vector<WindowHandle>& order = WalkCopy(zOrder_);
    const WalkScope scope{*this};
    for (WindowHandle window : order) {
        if (Find(window) && !visit(window))
            return;
    }
}

bool SimulatedDesktop::VisitDescendants(WindowHandle parent, const WindowVisitor& visit) {
    // A copy, and each window looked up afresh: a visitor may open or close windows.
    const std::vector<WindowHandle>& children = WalkCopy(Find(parent)->children);
    const WalkScope scope{*this};
    for (WindowHandle child : children) {
        if (!Find(child))
            continue;
        if (!visit(child))
            return false;
        if (Find(child) && !VisitDescendants(child, visit))
            return false;
    }
    return true;
}

void SimulatedDesktop::EnumChildWindows(WindowHandle parent, const WindowVisitor& visit) {
    ++calls_.enumChildWindows;
    if (parent == 0) {
        WalkTopLevel(visit);
        return;
    }
    if (Find(parent))
        VisitDescendants(parent, visit);
}

int SimulatedDesktop::CopyText(const std::string& text, char* buffer, int count) {
    if (count <= 0)
        return 0;
    const int n = std::min(static_cast<int>(text.size()), count - 1);
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(n));
    buffer[n] = '\0';
    return n;
}

int SimulatedDesktop::GetWindowTextA(WindowHandle window, char* buffer, int count) {
    ++calls_.getWindowText;
    const Window* w = Find(window);
    return CopyText(w ? w->title : std::string(), buffer, count);
}

int SimulatedDesktop::GetWindowTextW(WindowHandle window, char16_t* buffer, int count) {
    ++calls_.getWindowText;
    const Window* w = Find(window);
    if (!w || count <= 0)
        return 0;
    const std::u16string title = w->wideTitle.empty() ? AnsiToWide(w->title) : w->wideTitle;
    const int n = std::min(static_cast<int>(title.size()), count - 1);
    std::copy_n(title.begin(), n, buffer);
    buffer[n] = u'\0';
    return n;
}

int SimulatedDesktop::GetClassNameA(WindowHandle window, char* buffer, int count) {
    ++calls_.getClassName;
    const Window* w = Find(window);
    return CopyText(w ? w->className : std::string(), buffer, count);
}

std::uint32_t SimulatedDesktop::GetWindowThreadProcessId(WindowHandle window) {
    ++calls_.getProcessId;
    const Window* w = Find(window);
    return w ? w->processId : 0;
}

bool SimulatedDesktop::IsWindow(WindowHandle window) {
    ++calls_.isWindow;
    return Find(window) != nullptr;
}

int SimulatedDesktop::CompareStringA(const char* left, int leftLength, const char* right, int rightLength) {
    ++calls_.compareString;
    // Byte order stands in for the locale's collation: the system only ever asks for equality.
    const int n = std::min(leftLength, rightLength);
    const int c = std::memcmp(left, right, static_cast<std::size_t>(n));
    if (c < 0 || (c == 0 && leftLength < rightLength))
        return kCstrLessThan;
    if (c > 0 || (c == 0 && leftLength > rightLength))
        return kCstrGreaterThan;
    return kCstrEqual;
}

}  // namespace platform::sim
