#pragma once
// The one way to put data on the clipboard: memory of its own, filled while it is ours, handed to
// the open clipboard, and freed unless the clipboard took it.

#include <windows.h>

#include <cstddef>

namespace platform {

class ClipboardMemory {
public:
    explicit ClipboardMemory(std::size_t size) : memory_(::GlobalAlloc(GMEM_MOVEABLE, size ? size : 1)) {}
    ~ClipboardMemory() {
        if (memory_)
            ::GlobalFree(memory_);
    }
    ClipboardMemory(const ClipboardMemory&) = delete;
    ClipboardMemory& operator=(const ClipboardMemory&) = delete;

    // The memory to fill, or null; Unlock before PutOn.
    void* Lock() { return memory_ ? ::GlobalLock(memory_) : nullptr; }
    void Unlock() { ::GlobalUnlock(memory_); }
    // Hands the memory to the open clipboard; true when it took it (it is then the clipboard's).
    bool PutOn(unsigned format) {
        if (!memory_ || !::SetClipboardData(format, memory_))
            return false;
        memory_ = nullptr;
        return true;
    }

private:
    HGLOBAL memory_;
};

}  // namespace platform
