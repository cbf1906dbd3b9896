#pragma once
// The tool's main window for tests that need it: created once per test program, after the
// application is initialised (the framework's window classes exist from then on).

#include "framework/application.h"
#include "tavro_form.h"

namespace testsupport {

inline app::TTavroF& MainForm() {
    framework::Application.Initialize();
    framework::Application.SetTitle(app::kApplicationTitle);
    static app::TTavroF form;
    return form;
}

}  // namespace testsupport
