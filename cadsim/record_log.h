#pragma once
// The log of what the simulator received and did, for tests to read: one line per message or
// event, written through at once, so a reader sees each line as soon as it has been handled.
//
//   copydata window=<hex> dwData=<decimal> cbData=<decimal> data=<payload bytes as hex>
//   command window=<hex> wParam=<decimal> lParam=<decimal>
//   entity loaded|created <description>          (see Describe in drawing.h)
//   entity exact id=<decimal> center=<x>,<y> radius=<r>   (after a circle's "entity created": its
//                                                  numbers to the last bit, %.17g)
//   entity removed id=<decimal>
//   entity restored <description>                (taken back by U or UNDO)
//   undo control=all|none|one                    (at start, and when UNDO's Control changes it)
//   undo begin | undo end                        (a group opened or closed, however it closed; at
//                                                  start too with --user-group)
//   undo back <command name or GROUP> | undo nothing
//   host freeze pick|select|report|prompt ms=<decimal> | host freeze over   (--freeze-waits)
//   host snap from=<x>,<y> to=<x>,<y> by=endpoint|midpoint|centre   (a running object snap moved a
//                                                  point, clicked or typed)
//   variable <NAME>=<value>
//   report written bytes=<decimal> path=<path to the end of the line>
//   file dialog path=<path to the end of the line>
//   user <step>[ ignored][ at=<decimal>] | user freeze over
//                                                  (the scripted user, see user_script.h; at with
//                                                  --log-busy, in the busy lines' milliseconds)
//   clipboard held | clipboard released            (--hold-clipboard)
//   mouse click <x>,<y>[ ignored] | mouse right | key enter | key esc
//   busy <work> ms=<decimal> at=<decimal>          (with --log-busy: after each piece of work; at is
//                                                  when it began, in ms of the performance counter)
//
// Window handles are in the ready file's form (lower-case hex, no prefix); data holds exactly
// cbData bytes (nothing when lpData is null). A WM_COPYDATA without a record is logged as
// "copydata window=<hex> record=none".

#include <windows.h>

#include <string>

#include "framework/handles.h"

namespace cadsim {

class RecordLog {
public:
    // Until Open succeeds nothing is logged.
    bool Open(const std::string& path, std::string& error);

    void CopyData(HWND window, const COPYDATASTRUCT* record);
    void Command(HWND window, WPARAM wParam, LPARAM lParam);
    // One line as it is (code-page-932 bytes).
    void Event(const std::string& line);
    // How long the host worked on one message and when it began, in milliseconds.
    void Busy(const char* work, double milliseconds, double startMs);

private:
    void Write(const std::string& line);

    framework::FileHandle file_;
};

}  // namespace cadsim
