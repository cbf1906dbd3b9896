#pragma once
// The host's system variables: a small table of names with their values as the host prints them,
// and the rules a typed value must meet. Portable: no window system here.

#include <string>
#include <vector>

namespace cadsim {

enum class VariableKind {
    Integer,       // a whole number within [minimum, maximum]
    Point,         // "x,y,z", printed with four decimals
    ReadOnlyText,  // printed in double quotes; the user cannot set it
};

struct SystemVariable {
    std::string name;  // upper case, as the host prints it
    VariableKind kind = VariableKind::Integer;
    std::string value;  // as the host prints it between "<" and ">" (text without its quotes)
    long minimum = 0;
    long maximum = 0;
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

    // Sets a value at start-up, read-only variables too. False for an unknown name or a bad value.
    bool Preset(const std::string& name, const std::string& value);

    // The value as the host shows it: quoted for text, bare otherwise.
    static std::string Shown(const SystemVariable& variable);

    // What the host says when a typed value does not fit the variable.
    static std::string InvalidValueMessage(const SystemVariable& variable);

private:
    SystemVariable* FindMutable(const std::string& name);
    static bool Normalise(const SystemVariable& variable, const std::string& typed, std::string& value);

    std::vector<SystemVariable> table_;
};

// Upper-cases the ASCII letters only: the bytes of a double-byte character stay as they are.
std::string UpperAscii(const std::string& text);

}  // namespace cadsim
