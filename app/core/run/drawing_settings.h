#pragma once
// What a run reads of the user's drawing before it asks anything of the user, and what it sets
// for the length of the run: the report and every point printed at full precision in decimal
// units, no running object snap on the user's pick or on the points the run types, and the
// user's own undo group, which the run joins instead of splitting it.

#include <optional>
#include <string>
#include <vector>

namespace app {

class DrawingSettings {
public:
    DrawingSettings();

    // The next variable to ask the CAD program about; nothing once every one was asked.
    std::optional<std::u16string> NextQuery() const;
    // The CAD program's answer about name; empty when it did not answer. An answer about any
    // other variable than the one asked last is not taken.
    void Answer(const std::u16string& name, const std::u16string& value);
    bool AllAsked() const { return !NextQuery(); }

    // A change of the run's own: the variable, the record that sets it and the one that puts the
    // user's value back.
    struct Change {
        std::string item;
        std::u16string set;
        std::u16string putBack;
    };
    // Only where the drawing's value differs from the run's and the CAD program told it, in range.
    std::vector<Change> Changes() const;

    // UNDOCTL, read-only, as the CAD program told it (asked at UNDO's own prompt, where asking
    // leaves no step for U); a value out of range or none leaves it unknown.
    void TakeUndoControl(const std::u16string& value);
    // The user has an undo group open (UNDOCTL's group bit): the run types no Begin and no End.
    bool UserGroupOpen() const;
    bool UndoControlKnown() const { return undoControl_.has_value(); }
    // The user's own display precision, for values shown as the user is used to them; nothing
    // when the run did not change it (the report then prints at the user's own).
    std::optional<int> UserPrecision() const;

private:
    struct Variable {
        const char16_t* name;
        long minimum;
        long maximum;
        std::optional<long> value;  // as the CAD program told it, in range
        bool asked = false;
    };
    const Variable* Find(const char16_t* name) const;
    std::optional<long> Told(const char16_t* name) const;

    std::vector<Variable> variables_;
    std::optional<long> undoControl_;
};

}  // namespace app
