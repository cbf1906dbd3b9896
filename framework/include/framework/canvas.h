#pragma once
// A canvas draws on a device context it does not own with a brush, a pen and a font given as
// values. It makes the GDI objects they need, selects them while it lives, and when it goes
// puts back what the DC held before and deletes what it made, on every path.

#include <windows.h>

#include <string>
#include <string_view>

#include "framework/color.h"
#include "framework/font.h"
#include "framework/handles.h"

namespace framework {

class TBitmap;

// The RGB value of a colour, with system colours resolved.
COLORREF ColorToRGB(TColor color);
// A font handle for a font value; the caller owns it.
FontHandle CreateFontHandle(const TFont& font);

enum class TBrushStyle { Solid, Clear };

struct TBrushSpec {
    TColor color = clWhite;
    TBrushStyle style = TBrushStyle::Solid;
};

struct TPenSpec {
    TColor color = clBlack;
    int width = 1;
    int style = PS_SOLID;
};

class TCanvas {
public:
    explicit TCanvas(HDC dc);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle() const { return dc_; }

    const TBrushSpec& Brush() const { return brush_; }
    void SetBrush(TColor color, TBrushStyle style = TBrushStyle::Solid);
    const TPenSpec& Pen() const { return pen_; }
    void SetPen(TColor color, int width = 1, int style = PS_SOLID);
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);

    // Fills with the brush (nothing with a clear brush).
    void FillRect(const RECT& rect);
    // A one-pixel frame in the brush colour, as FrameRect draws it.
    void FrameRect(const RECT& rect);
    // Outline with the pen, inside filled with the brush.
    void Rectangle(const RECT& rect);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // Text in the font and its colour; on the brush colour, or on what is there with a clear brush.
    void TextOut(int x, int y, std::u16string_view text);
    SIZE TextExtent(std::u16string_view text);
    int DrawText(std::u16string_view text, RECT& rect, UINT format);
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);
    // Copies a rectangle of another canvas into a rectangle of this one (stretching if sizes differ).
    void CopyRect(const RECT& destination, const TCanvas& source, const RECT& sourceRect, DWORD rop = SRCCOPY);
    // Draws a bitmap at (x, y); a transparent bitmap leaves its transparent colour's pixels alone.
    void Draw(int x, int y, TBitmap& bitmap);

private:
    void UseBrush();
    void UsePen();
    void UseFont();
    void UseTextColors();

    HDC dc_;
    TBrushSpec brush_;
    TPenSpec pen_;
    TFont font_{u"Tahoma", -11, DEFAULT_CHARSET, clWindowText, 0};
    BrushHandle brushHandle_;
    PenHandle penHandle_;
    FontHandle fontHandle_;
    bool brushStale_ = true;
    bool penStale_ = true;
    bool fontStale_ = true;
    HGDIOBJ originalBrush_ = nullptr;
    HGDIOBJ originalPen_ = nullptr;
    HGDIOBJ originalFont_ = nullptr;
};

}  // namespace framework
