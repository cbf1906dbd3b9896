#pragma once
// Reading the pixels of a device context into memory, for tests that check what GDI drew.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace testsupport {

// A copy of a rectangle of pixels as 0x00BBGGRR values, row by row.
class Pixels {
public:
    Pixels(HDC dc, int left, int top, int width, int height) : width_(width), height_(height) {
        HDC memory = ::CreateCompatibleDC(dc);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP section = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(memory, section);
        ::BitBlt(memory, 0, 0, width, height, dc, left, top, SRCCOPY);
        ::GdiFlush();
        const auto* raw = static_cast<const std::uint32_t*>(bits);
        values_.resize(static_cast<std::size_t>(width) * height);
        for (std::size_t i = 0; i < values_.size(); ++i) {
            const std::uint32_t bgra = raw[i];  // DIB order: blue in the low byte
            values_[i] = ((bgra >> 16) & 0xFF) | (bgra & 0xFF00) | ((bgra & 0xFF) << 16);
        }
        ::SelectObject(memory, old);
        ::DeleteObject(section);
        ::DeleteDC(memory);
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::uint32_t At(int x, int y) const { return values_[static_cast<std::size_t>(y) * width_ + x]; }

    // The bounding box of the pixels of one colour; empty (right < left) when there are none.
    RECT BoxOf(std::uint32_t color) const {
        RECT box{width_, height_, -1, -1};
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (At(x, y) == color) {
                    box.left = x < box.left ? x : box.left;
                    box.top = y < box.top ? y : box.top;
                    box.right = x > box.right ? x : box.right;
                    box.bottom = y > box.bottom ? y : box.bottom;
                }
        return box;
    }
    bool Contains(std::uint32_t color) const { return BoxOf(color).right >= 0; }
    std::size_t DistinctColors() const {
        std::vector<std::uint32_t> sorted = values_;
        std::sort(sorted.begin(), sorted.end());
        return static_cast<std::size_t>(std::unique(sorted.begin(), sorted.end()) - sorted.begin());
    }

private:
    int width_, height_;
    std::vector<std::uint32_t> values_;
};

}  // namespace testsupport
