// Any bytes as a mass-properties report, read in both variants: every value is trimmed text that
// stands in the file, the labels show what was read, and the only failure is the region variant's
// conversion error for a value that is not a number.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cad_numbers.h"
#include "framework/exceptions.h"
#include "fuzz_check.h"
#include "report_reader.h"

namespace {

using fuzzcheck::Require;

struct RecordedLabels : app::ReportLabels {
    std::vector<std::string> areas;
    std::vector<std::string> perimeters;
    void ShowArea(const std::string& caption) override { areas.push_back(caption); }
    void ShowPerimeter(const std::string& caption) override { perimeters.push_back(caption); }
};

void CheckValue(const std::string& content, const std::string& value, const char* property) {
    Require(fuzzcheck::IsTrimmed(value), property);
    Require(value.empty() || fuzzcheck::Contains(content, value), property);
}

void ReadAs(const std::string& content, app::ReportVariant variant, char separator) {
    RecordedLabels labels;
    app::ReportValues values;
    try {
        values = app::ParseReport(content, variant, labels, separator);
    } catch (const framework::EConvertError&) {
        Require(variant == app::ReportVariant::Region, "only the region variant converts");
        return;
    }
    CheckValue(content, values.centroidX, "centroid X is trimmed text of the file");
    CheckValue(content, values.centroidY, "centroid Y is trimmed text of the file");
    CheckValue(content, values.area, "area is trimmed text of the file");
    CheckValue(content, values.perimeter, "perimeter is trimmed text of the file");
    if (variant == app::ReportVariant::FaceCentre) {
        // As read, and only a number the CAD program writes: never "NaN" or hundreds of digits.
        const auto shown = [](const std::string& value) { return app::IsCadNumber(value) ? value : std::string(); };
        Require(labels.areas.empty() || labels.areas.back() == shown(values.area),
                "face centre shows the last area as read when it is a number");
        Require(labels.perimeters.empty() || labels.perimeters.back() == shown(values.perimeter),
                "face centre shows the last perimeter as read when it is a number");
    } else {
        for (const std::string& caption : labels.areas)
            Require(caption.size() >= 5 && caption.find(separator) == caption.size() - 3,
                    "region captions have two decimals and at least five characters");
        if (!labels.areas.empty())
            Require(labels.areas.back() == app::FormatTwoDecimals(values.area, separator),
                    "region shows the last area formatted");
    }
    Require(values.area.empty() || !labels.areas.empty(), "an area value comes with an area caption");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(reinterpret_cast<const char*>(data), size);
    ReadAs(content, app::ReportVariant::FaceCentre, '.');
    ReadAs(content, app::ReportVariant::Region, '.');
    ReadAs(content, app::ReportVariant::Region, ',');
    return 0;
}
