#pragma once
// The host's system variables: a small table of names with their values, the rules a typed value
// must meet, and how each value is printed. Portable: no window system here.

#include <string>
#include <vector>

#include "coordinates.h"
#include "linear_units.h"

namespace cadsim {

enum class VariableKind {
    Integer,          // a whole number within [minimum, maximum]
    Point,            // x,y,z kept exact, printed in the drawing's linear units
    ReadOnlyText,     // printed in double quotes; the user cannot set it
    ReadOnlyInteger,  // computed by the host from its own state; printed bare, set by nobody else
};

struct SystemVariable {
    std::string name;  // upper case, as the host prints it
    VariableKind kind = VariableKind::Integer;
    std::string value;  // as printed, for every kind but Point
    Point point;        // Point
    double z = 0;       // Point
    long minimum = 0;
    long maximum = 0;

    bool ReadOnly() const { return kind == VariableKind::ReadOnlyText || kind == VariableKind::ReadOnlyInteger; }
};

class SystemVariables {
public:
    // The host's defaults after opening a drawing.
    SystemVariables();

    // Null for an unknown name; names compare without regard to the case of ASCII letters.
    const SystemVariable* Find(const std::string& name) const;

    // Sets a variable from what the user typed. False, and nothing changes, for an unknown or
    // read-only variable or a text that is not a value of the variable's kind.
    bool Assign(const std::string& name, const std::string& typed);

    // Sets a value at start-up, read-only text too. False for an unknown name, a bad value, or a
    // variable the host computes.
    bool Preset(const std::string& name, const std::string& value);

    // Sets a point variable exactly (LASTPOINT after ID). False for another kind of variable.
    bool SetPoint(const std::string& name, const Point& point, double z);

    // Sets a variable the host computes from its own state (UNDOCTL).
    void SetComputed(const std::string& name, long value);

    // The value as printed: a point in the current linear units.
    std::string Text(const SystemVariable& variable) const;
    // The value as the host shows it: Text, in double quotes for text.
    std::string Shown(const SystemVariable& variable) const;
    // An integer variable's value; 0 for an unknown name or another kind.
    long Number(const std::string& name) const;

    // LUNITS, LUPREC and UNITMODE together.
    LinearUnits Units() const;

    // What the host says when a typed value does not fit the variable.
    static std::string InvalidValueMessage(const SystemVariable& variable);

private:
    SystemVariable* FindMutable(const std::string& name);
    static bool Normalise(const std::string& typed, SystemVariable& variable);

    std::vector<SystemVariable> table_;
};

// Upper-cases the ASCII letters only: the bytes of a double-byte character stay as they are.
std::string UpperAscii(const std::string& text);

}  // namespace cadsim
