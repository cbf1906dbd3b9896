#include "run/drawing_settings.h"

#include "cad_numbers.h"
#include "platform/text_trim.h"

namespace app {
namespace {

// The run's own values: decimal units at the most places the CAD program prints, spaced as
// typed; running snaps kept as the user chose them but switched off.
constexpr long kDecimalUnits = 2;
constexpr long kMostPlaces = 8;
constexpr long kUnitsAsTyped = 0;
constexpr long kSnapsOff = 16384;
constexpr long kUndoGroupOpen = 8;

std::u16string Number(long value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

DrawingSettings::DrawingSettings()
    : variables_{
          {u"LUNITS", 1, 5, std::nullopt},
          {u"LUPREC", 0, 8, std::nullopt},
          {u"UNITMODE", 0, 1, std::nullopt},
          {u"OSMODE", 0, 32767, std::nullopt},
      } {}

std::optional<std::u16string> DrawingSettings::NextQuery() const {
    for (const Variable& variable : variables_)
        if (!variable.asked)
            return std::u16string(variable.name);
    return std::nullopt;
}

void DrawingSettings::Answer(const std::u16string& name, const std::u16string& value) {
    for (Variable& variable : variables_) {
        if (variable.asked)
            continue;
        if (name != variable.name)
            return;  // not the one asked: an earlier answer seen again
        variable.asked = true;
        const std::optional<std::int64_t> number = ParseWholeNumber(platform::Trim(value), 1000000);
        // A value the variable cannot hold is no value the run knows how to put back: left alone.
        if (number && *number >= variable.minimum && *number <= variable.maximum)
            variable.value = static_cast<long>(*number);
        return;
    }
}

const DrawingSettings::Variable* DrawingSettings::Find(const char16_t* name) const {
    for (const Variable& variable : variables_)
        if (std::u16string(variable.name) == name)
            return &variable;
    return nullptr;
}

std::optional<long> DrawingSettings::Told(const char16_t* name) const {
    const Variable* variable = Find(name);
    return variable ? variable->value : std::nullopt;
}

std::vector<DrawingSettings::Change> DrawingSettings::Changes() const {
    std::vector<Change> changes;
    auto change = [&changes](const char16_t* name, long user, long run) {
        const std::u16string record = u"\x03" + std::u16string(name) + u" ";
        changes.push_back({std::string(name, name + std::char_traits<char16_t>::length(name)),
                           record + Number(run) + u"\r", record + Number(user) + u"\r"});
    };
    const std::optional<long> units = Told(u"LUNITS");
    if (units && *units != kDecimalUnits)
        change(u"LUNITS", *units, kDecimalUnits);
    const std::optional<long> places = Told(u"LUPREC");
    if (places && *places != kMostPlaces)
        change(u"LUPREC", *places, kMostPlaces);
    const std::optional<long> unitMode = Told(u"UNITMODE");
    if (unitMode && *unitMode != kUnitsAsTyped)
        change(u"UNITMODE", *unitMode, kUnitsAsTyped);
    const std::optional<long> snaps = Told(u"OSMODE");
    if (snaps && *snaps != 0 && (*snaps & kSnapsOff) == 0)
        change(u"OSMODE", *snaps, *snaps | kSnapsOff);
    return changes;
}

void DrawingSettings::TakeUndoControl(const std::u16string& value) {
    const std::optional<std::int64_t> number = ParseWholeNumber(platform::Trim(value), 1000000);
    if (number && *number >= 0 && *number <= 127)
        undoControl_ = static_cast<long>(*number);
}

bool DrawingSettings::UserGroupOpen() const {
    return undoControl_ && (*undoControl_ & kUndoGroupOpen) != 0;
}

std::optional<int> DrawingSettings::UserPrecision() const {
    const std::optional<long> places = Told(u"LUPREC");
    if (!places || *places == kMostPlaces)
        return std::nullopt;
    return static_cast<int>(*places);
}

}  // namespace app
