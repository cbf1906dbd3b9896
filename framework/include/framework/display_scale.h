#pragma once
// Display scale arithmetic, free of Win32: the design is laid out in pixels at 96 pixels per inch,
// and every design number is scaled with one rounding rule so that neighbouring controls keep
// their gaps at any scale.

namespace framework {

constexpr int kDesignDpi = 96;
// The largest scale the framework lays out at (500 %), whatever the display reports.
constexpr int kMaxDpi = 480;

// A design number at a DPI: n x dpi / 96, rounded to nearest and halves away from zero, as MulDiv.
int ScaleToDpi(int designPixels, int dpi);

// The DPI to lay out at for what the system reports: below 100 % (or a value that is no DPI) the
// design's own 96, above 500 % that.
int UsableDpi(int reportedDpi);

struct Extent {
    int width, height;
};

// The largest DPI, not above dpi and not below 96, at which a window whose client area is the
// design client scaled, plus its frame, fits in the work area.
int FittingDpi(int dpi, Extent designClient, Extent frame, Extent workArea);

}  // namespace framework
