#include <windows.h>

#include "es_attached_label.h"
#include "es_string_resource.h"
#include "framework/application.h"
#include "tavro_form.h"
#include "win32_workflow_host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using framework::Application;
    try {
        Application.Initialize();
        Application.SetTitle(app::kApplicationTitle);
        es::EsStringTablesScope stringTables;
        es::RegisterEsAttachedLabel();
        app::TTavroF mainWindow;
        app::TavroF = &mainWindow;
        app::TavroRuntime runtime(mainWindow);
        mainWindow.SetWorkflows(&runtime);
        Application.SetMainWindow(mainWindow.Handle());
        mainWindow.Show();
        Application.Run();
        app::TavroF = nullptr;
    } catch (...) {
        Application.HandleException();
        return 1;
    }
    return 0;
}
