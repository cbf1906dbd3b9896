#include "system_variables.h"

#include "coordinates.h"
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

SystemVariable PointVariable(const char* name, const char* value) {
    SystemVariable variable;
    variable.name = name;
    variable.kind = VariableKind::Point;
    variable.value = value;
    return variable;
}

SystemVariable ReadOnlyText(const char* name, const char* value) {
    SystemVariable variable;
    variable.name = name;
    variable.kind = VariableKind::ReadOnlyText;
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

// "x,y" or "x,y,z" as the host prints a point: four decimals, z 0 when left out.
bool PrintedPoint(const std::string& text, std::string& printed) {
    Point point;
    double z = 0;
    if (!ParsePoint(text, point, z))
        return false;
    printed = Fixed4(point.x) + "," + Fixed4(point.y) + "," + Fixed4(z);
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
          PointVariable("LASTPOINT", "0.0000,0.0000,0.0000"),
          Integer("FILEDIA", "1", 0, 1),
          // What BOUNDARY makes: 1 a polyline, 0 a region. A session variable, not kept in the drawing.
          Integer("HPBOUND", "1", 0, 1),
          Integer("CMDECHO", "1", 0, 1),
          Integer("CMDDIA", "1", 0, 1),
          Integer("OSMODE", "4133", 0, 32767),
          ReadOnlyText("ACADVER", "24.3s (LMS Tech)"),
          ReadOnlyText("DWGNAME", "Drawing1.dwg"),
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

bool SystemVariables::Normalise(const SystemVariable& variable, const std::string& typed, std::string& value) {
    switch (variable.kind) {
        case VariableKind::Integer: {
            long number = 0;
            if (!ParseInteger(typed, number) || number < variable.minimum || number > variable.maximum)
                return false;
            value = std::to_string(number);
            return true;
        }
        case VariableKind::Point:
            return PrintedPoint(typed, value);
        case VariableKind::ReadOnlyText:
            // A quote inside would make the printed value ambiguous.
            if (typed.find('"') != std::string::npos)
                return false;
            value = typed;
            return true;
    }
    return false;
}

bool SystemVariables::Assign(const std::string& name, const std::string& typed) {
    SystemVariable* variable = FindMutable(name);
    if (variable == nullptr || variable->kind == VariableKind::ReadOnlyText)
        return false;
    return Normalise(*variable, typed, variable->value);
}

bool SystemVariables::Preset(const std::string& name, const std::string& value) {
    SystemVariable* variable = FindMutable(name);
    return variable != nullptr && Normalise(*variable, value, variable->value);
}

std::string SystemVariables::Shown(const SystemVariable& variable) {
    return variable.kind == VariableKind::ReadOnlyText ? "\"" + variable.value + "\"" : variable.value;
}

std::string SystemVariables::InvalidValueMessage(const SystemVariable& variable) {
    switch (variable.kind) {
        case VariableKind::Integer:
            return std::to_string(variable.minimum) + " から " + std::to_string(variable.maximum) +
                   " までの整数を入力してください。";
        case VariableKind::Point:
            return "点を X,Y または X,Y,Z の形式で入力してください。";
        case VariableKind::ReadOnlyText:
            break;
    }
    return variable.name + " は読み込み専用です。";
}

}  // namespace cadsim
