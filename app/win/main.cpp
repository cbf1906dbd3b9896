#include <windows.h>

#include <cstdlib>

#include "widgets/es/es_attached_label.h"
#include "widgets/es/es_string_resource.h"
#include "framework/application.h"
#include "tavro_form.h"
#include "run_look_pace.h"
#include "win32_workflow_host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using framework::Application;
    try {
        Application.Initialize();
        Application.SetTitle(app::kApplicationTitle);
        es::EsStringTablesScope stringTables;
        es::RegisterEsAttachedLabel();
#ifdef TAVRO_BANNER_BENCH
        // The banner benchmark's build only: render the banner's image at every tick, as if uncached.
        if (const char* rebuild = std::getenv("TAVRO_BANNER_REBUILD"); rebuild && rebuild[0] == '1')
            es::TEsCustomScrollingMarquee::SetRebuildEveryTick(true);
#endif
        app::TTavroF mainWindow;
        app::TavroF = &mainWindow;
        app::TavroRuntime runtime(mainWindow, app::RunLookPace());
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
