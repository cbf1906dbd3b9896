// Any bytes as a mass-properties report, read in both variants: every value is trimmed text that
// stands in the file, what is shown of it is a number, and the only refusal is the region
// variant's for a value that is not a number.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cad_numbers.h"
#include "fuzz_check.h"
#include "report_reader.h"

namespace {

using fuzzcheck::Require;

void CheckValue(const std::u16string& content, const std::u16string& value, const char* property) {
    Require(fuzzcheck::IsTrimmed(value), property);
    Require(value.empty() || fuzzcheck::Contains(content, value), property);
}

void ReadAs(const std::u16string& content, app::ReportVariant variant, char16_t separator) {
    const app::ReportValues values = app::ParseReport(content, variant);
    CheckValue(content, values.centroidX, "centroid X is trimmed text of the file");
    CheckValue(content, values.centroidY, "centroid Y is trimmed text of the file");
    CheckValue(content, values.area, "area is trimmed text of the file");
    CheckValue(content, values.perimeter, "perimeter is trimmed text of the file");
    Require(values.area.empty() || values.areaSeen, "an area value comes from an area line");
    for (const std::u16string& value : {values.area, values.perimeter}) {
        const app::Checked<std::u16string> checked = app::ShownValue(variant, value, separator);
        if (!checked) {
            Require(variant == app::ReportVariant::Region, "only the region variant refuses");
            continue;
        }
        const std::u16string& shown = *checked;
        if (variant == app::ReportVariant::FaceCentre)
            // As read, and only a number the CAD program writes: never "NaN" or hundreds of digits.
            Require(shown == (app::IsCadNumber(value) ? value : std::u16string()),
                    "face centre shows a number as read");
        else
            Require(shown.size() >= 5 && shown.find(separator) == shown.size() - 3,
                    "region shows two decimals and at least five characters");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Two bytes a UTF-16 unit, as the run has the report once it is read.
    std::u16string content;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        content += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    ReadAs(content, app::ReportVariant::FaceCentre, u'.');
    ReadAs(content, app::ReportVariant::Region, u'.');
    ReadAs(content, app::ReportVariant::Region, u',');
    return 0;
}
