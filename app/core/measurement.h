#pragma once
// One measured shape whose circle was typed, as the run showed and typed its values.

#include <string>

#include "report_reader.h"

namespace app {

struct DrawnMeasurement {
    ReportVariant mode = ReportVariant::FaceCentre;
    std::u16string area;       // as the area label shows it
    std::u16string perimeter;  // as the perimeter label shows it
    std::u16string centroidX;  // as typed into CIRCLE
    std::u16string centroidY;
    std::u16string size;  // the radius as typed into CIRCLE
};

// The values of a report as the run showed them (region mode shows two decimals) and typed them.
DrawnMeasurement MeasurementAsShown(ReportVariant mode,
                                    const ReportValues& values,
                                    const std::u16string& size,
                                    char16_t decimalSeparator,
                                    int faceDecimals = -1);

}  // namespace app
