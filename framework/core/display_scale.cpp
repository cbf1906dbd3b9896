#include "framework/display_scale.h"

namespace framework {

int ScaleToDpi(int designPixels, int dpi) {
    const long long product = static_cast<long long>(designPixels) * dpi;
    const long long half = kDesignDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kDesignDpi : -((-product + half) / kDesignDpi));
}

int UsableDpi(int reportedDpi) {
    if (reportedDpi < kDesignDpi)
        return kDesignDpi;
    return reportedDpi > kMaxDpi ? kMaxDpi : reportedDpi;
}

int FittingDpi(int dpi, Extent designClient, Extent frame, Extent workArea) {
    int fitting = UsableDpi(dpi);
    // A window larger than its monitor cannot be moved by its title bar nor reach its buttons:
    // the scale gives way, down to the design's own size.
    while (fitting > kDesignDpi && (ScaleToDpi(designClient.width, fitting) + frame.width > workArea.width ||
                                    ScaleToDpi(designClient.height, fitting) + frame.height > workArea.height))
        --fitting;
    return fitting;
}

}  // namespace framework
