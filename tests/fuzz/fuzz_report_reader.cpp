// Any bytes as a mass-properties report, read in both variants: every value is trimmed text that
// stands in the file, what is shown of it is a number, and the only failure is the region
// variant's conversion error for a value that is not a number.

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

void CheckValue(const std::string& content, const std::string& value, const char* property) {
    Require(fuzzcheck::IsTrimmed(value), property);
    Require(value.empty() || fuzzcheck::Contains(content, value), property);
}

void ReadAs(const std::string& content, app::ReportVariant variant, char separator) {
    const app::ReportValues values = app::ParseReport(content, variant);
    CheckValue(content, values.centroidX, "centroid X is trimmed text of the file");
    CheckValue(content, values.centroidY, "centroid Y is trimmed text of the file");
    CheckValue(content, values.area, "area is trimmed text of the file");
    CheckValue(content, values.perimeter, "perimeter is trimmed text of the file");
    Require(values.area.empty() || values.areaSeen, "an area value comes from an area line");
    for (const std::string& value : {values.area, values.perimeter}) {
        std::string shown;
        try {
            shown = app::ShownValue(variant, value, separator);
        } catch (const framework::EConvertError&) {
            Require(variant == app::ReportVariant::Region, "only the region variant converts");
            continue;
        }
        if (variant == app::ReportVariant::FaceCentre)
            // As read, and only a number the CAD program writes: never "NaN" or hundreds of digits.
            Require(shown == (app::IsCadNumber(value) ? value : std::string()), "face centre shows a number as read");
        else
            Require(shown.size() >= 5 && shown.find(separator) == shown.size() - 3,
                    "region shows two decimals and at least five characters");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(reinterpret_cast<const char*>(data), size);
    ReadAs(content, app::ReportVariant::FaceCentre, '.');
    ReadAs(content, app::ReportVariant::Region, '.');
    ReadAs(content, app::ReportVariant::Region, ',');
    return 0;
}
