#pragma once
// Child-window identifiers of the main window's controls, for tools that look at it from outside.

namespace app {

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
