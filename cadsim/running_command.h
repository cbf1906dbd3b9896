#pragma once
// What a command of the host's command line is: a small state machine that answers one input at
// a time, and what it may touch while it runs.

#include <string>
#include <vector>

#include "coordinates.h"
#include "drawing.h"
#include "history.h"
#include "report_files.h"
#include "system_variables.h"
#include "undo_history.h"

namespace cadsim {

// The host forgets its oldest lines beyond this many.
constexpr std::size_t kHistoryLimit = 100000;

// What the host knows about the input being handled, for the running object snaps.
struct PointInput {
    double aperture = 0;      // drawing units around a snap point that catch a point
    bool fromScript = false;  // typed input is a script's, not keyboard entry (OSNAPCOORD 2)
    bool unsnapped = false;   // "_non" came before this point
};

struct CommandContext {
    History& history;
    SystemVariables& variables;
    Drawing& drawing;
    ReportFiles* files;                // null: no file can be written
    std::vector<std::string>& events;  // lines for the simulator's log
    DrawingEdits& edits;               // what the running command changed in the drawing
    UndoHistory& undo;
    PointInput pointInput;

    void Print(const std::string& line);
    // Something a test may want to know happened: an entity, a variable, a file.
    void Note(const std::string& event) { events.push_back(event); }

    const Entity& AddEntity(Entity entity);
    void RemoveEntity(int id);
    // Puts back an object taken away earlier, under its own number.
    void RestoreEntity(const Entity& entity);
    // Sets a variable as a command does, and notes it. False when the value does not fit.
    bool SetVariable(const std::string& name, const std::string& value);
    // Sets a point variable exactly (LASTPOINT), and notes it as printed.
    void SetPointVariable(const std::string& name, const Point& point, double z);

    // A point typed at a point prompt, moved by the running object snaps when OSNAPCOORD lets them
    // act on typed points; z is 0 when it moved. False for text that is no point.
    bool TypedPoint(const std::string& input, Point& point, double& z);
    bool TypedPoint(const std::string& input, Point& point);
    // A point the user clicked at a point prompt, moved by the running object snaps.
    Point PickedPoint(const Point& point);

private:
    // Moves point onto the nearest snap point and notes it, unless "_non" came before it.
    bool Snapped(Point& point);
};

// A command waiting at its own prompt.
class RunningCommand {
public:
    virtual ~RunningCommand() = default;
    virtual std::string Prompt() const = 0;
    // One input, ended by Enter or a space, possibly empty. False when the command has ended.
    virtual bool Answer(const std::string& input, CommandContext& context) = 0;
    // True when the prompt takes a click in the drawing (a point or an object).
    virtual bool TakesClicks() const { return false; }
    // True when the prompt asks for a point, so that object snaps act and "_non" is an answer.
    virtual bool TakesPoints() const { return false; }
    // A click at point; called only when TakesClicks(). False when the command has ended.
    virtual bool Click(const Point& /*point*/, CommandContext& /*context*/) { return true; }
    // Entities to show as selected while the command waits.
    virtual std::vector<int> Highlighted() const { return {}; }
};

}  // namespace cadsim
