#include "system_variables.h"

#include "platform/codepage.h"

namespace cadsim {
namespace {

SystemVariable Integer(const char* name, const char* value, long minimum, long maximum) {
    SystemVariable variable;
    variable.name = name;
    variable.kind = VariableKind::Integer;
    variable.value = value;
    variable.minimum = minimum;
    variable.maximum = maximum;
    return variable;
}

SystemVariable PointVariable(const char* name) {
    SystemVariable variable;
    variable.name = name;
    variable.kind = VariableKind::Point;
    return variable;
}

SystemVariable ReadOnly(VariableKind kind, const char* name, const char* value) {
    SystemVariable variable;
    variable.name = name;
    variable.kind = kind;
    variable.value = value;
    return variable;
}

bool ParseInteger(const std::string& text, long& value) {
    std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    // Nine digits at most: long is 32 bits on Windows.
    if (i == text.size() || text.size() - i > 9)
        return false;
    long n = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        n = n * 10 + (text[i] - '0');
    }
    value = text[0] == '-' ? -n : n;
    return true;
}

}  // namespace

std::string UpperAscii(const std::string& text) {
    std::string upper = text;
    for (std::size_t i = 0; i < upper.size(); ++i) {
        const auto byte = static_cast<unsigned char>(upper[i]);
        if (platform::IsCp932LeadByte(byte))
            ++i;  // the trail byte may look like a letter
        else if (byte >= 'a' && byte <= 'z')
            upper[i] = static_cast<char>(byte - 'a' + 'A');
    }
    return upper;
}

SystemVariables::SystemVariables()
    : table_{
          PointVariable("LASTPOINT"),
          Integer("FILEDIA", "1", 0, 1),
          // What BOUNDARY makes: 1 a polyline, 0 a region. A session variable, not kept in the drawing.
          Integer("HPBOUND", "1", 0, 1),
          Integer("CMDECHO", "1", 0, 1),
          Integer("CMDDIA", "1", 0, 1),
          Integer("OSMODE", "4133", 0, 32767),
          // Whether typed points snap: 0 always, 1 never, 2 only those of scripts.
          Integer("OSNAPCOORD", "2", 0, 2),
          Integer("LUNITS", "2", 1, 5),
          Integer("LUPREC", "4", 0, 8),
          Integer("UNITMODE", "0", 0, 1),
          // All, no group open: on, Auto, and both kinds of combining.
          ReadOnly(VariableKind::ReadOnlyInteger, "UNDOCTL", "53"),
          ReadOnly(VariableKind::ReadOnlyText, "ACADVER", "24.3s (LMS Tech)"),
          ReadOnly(VariableKind::ReadOnlyText, "DWGNAME", "Drawing1.dwg"),
      } {}

const SystemVariable* SystemVariables::Find(const std::string& name) const {
    const std::string wanted = UpperAscii(name);
    for (const SystemVariable& variable : table_)
        if (variable.name == wanted)
            return &variable;
    return nullptr;
}

SystemVariable* SystemVariables::FindMutable(const std::string& name) {
    return const_cast<SystemVariable*>(static_cast<const SystemVariables*>(this)->Find(name));
}

bool SystemVariables::Normalise(const std::string& typed, SystemVariable& variable) {
    switch (variable.kind) {
        case VariableKind::Integer: {
            long number = 0;
            if (!ParseInteger(typed, number) || number < variable.minimum || number > variable.maximum)
                return false;
            variable.value = std::to_string(number);
            return true;
        }
        case VariableKind::Point:
            return ParsePoint(typed, variable.point, variable.z);
        case VariableKind::ReadOnlyText:
            // A quote inside would make the printed value ambiguous.
            if (typed.find('"') != std::string::npos)
                return false;
            variable.value = typed;
            return true;
        case VariableKind::ReadOnlyInteger:
            break;
    }
    return false;
}

bool SystemVariables::Assign(const std::string& name, const std::string& typed) {
    SystemVariable* variable = FindMutable(name);
    if (variable == nullptr || variable->ReadOnly())
        return false;
    SystemVariable changed = *variable;
    if (!Normalise(typed, changed))
        return false;
    *variable = std::move(changed);
    return true;
}

bool SystemVariables::Preset(const std::string& name, const std::string& value) {
    SystemVariable* variable = FindMutable(name);
    if (variable == nullptr)
        return false;
    SystemVariable changed = *variable;
    if (!Normalise(value, changed))
        return false;
    *variable = std::move(changed);
    return true;
}

bool SystemVariables::SetPoint(const std::string& name, const Point& point, double z) {
    SystemVariable* variable = FindMutable(name);
    if (variable == nullptr || variable->kind != VariableKind::Point)
        return false;
    variable->point = point;
    variable->z = z;
    return true;
}

void SystemVariables::SetComputed(const std::string& name, long value) {
    SystemVariable* variable = FindMutable(name);
    if (variable != nullptr && variable->kind == VariableKind::ReadOnlyInteger)
        variable->value = std::to_string(value);
}

std::string SystemVariables::Text(const SystemVariable& variable) const {
    if (variable.kind != VariableKind::Point)
        return variable.value;
    const LinearUnits units = Units();
    return FormatLength(variable.point.x, units) + "," + FormatLength(variable.point.y, units) + "," +
           FormatLength(variable.z, units);
}

std::string SystemVariables::Shown(const SystemVariable& variable) const {
    return variable.kind == VariableKind::ReadOnlyText ? "\"" + variable.value + "\"" : Text(variable);
}

long SystemVariables::Number(const std::string& name) const {
    const SystemVariable* variable = Find(name);
    long number = 0;
    if (variable == nullptr || variable->kind == VariableKind::Point || variable->kind == VariableKind::ReadOnlyText ||
        !ParseInteger(variable->value, number))
        return 0;
    return number;
}

LinearUnits SystemVariables::Units() const {
    LinearUnits units;
    units.kind = static_cast<UnitKind>(Number("LUNITS"));
    units.precision = static_cast<int>(Number("LUPREC"));
    units.asTyped = Number("UNITMODE") == 1;
    return units;
}

std::string SystemVariables::InvalidValueMessage(const SystemVariable& variable) {
    switch (variable.kind) {
        case VariableKind::Integer:
            return std::to_string(variable.minimum) + " から " + std::to_string(variable.maximum) +
                   " までの整数を入力してください。";
        case VariableKind::Point:
            return "点を X,Y または X,Y,Z の形式で入力してください。";
        case VariableKind::ReadOnlyText:
        case VariableKind::ReadOnlyInteger:
            break;
    }
    return variable.name + " は読み込み専用です。";
}

}  // namespace cadsim
