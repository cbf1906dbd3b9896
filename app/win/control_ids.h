#pragma once
// The main window's class name and its controls' child-window identifiers, for tools (and a
// second start) that look at it from outside.

namespace app {

constexpr char kMainWindowClass[] = "TTavroF";

enum ControlId : int {
    kIdEdit1 = 101,
    kIdLabel1 = 102,
    kIdLabel2 = 103,
    kIdCheckBox1 = 104,
    kIdPlButton1 = 105,
    kIdPlButton2 = 106,
    kIdCheckBox2 = 107,
    kIdGroupBox2 = 108,
};

}  // namespace app
