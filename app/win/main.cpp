#include <windows.h>

#include <cstdlib>

#include "widgets/es/es_attached_label.h"
#include "widgets/es/es_string_resource.h"
#include "framework/accessible.h"
#include "framework/application.h"
#include "framework/display.h"
#include "single_instance.h"
#include "tavro_form.h"
#include "run_look_pace.h"
#include "win32_workflow_host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using framework::Application;
    app::SingleInstance instance;
    if (!instance.Claim())
        return 0;
    try {
        // Before the first window, and outliving the last one.
        framework::ReaderApartment readerApartment;
        Application.Initialize();
        Application.SetTitle(app::kApplicationTitle);
        es::EsStringTablesScope stringTables;
        es::RegisterEsAttachedLabel();
        app::TTavroF mainWindow;
#ifdef TAVRO_BANNER_BENCH
        // The banner benchmark's build only: render the banner's image at every tick, as if uncached.
        struct RenderEveryTick : es::MarqueeFrames {
            bool KeepImage() const override { return false; }
        };
        static RenderEveryTick renderEveryTick;
        if (const char* rebuild = std::getenv("TAVRO_BANNER_REBUILD"); rebuild && rebuild[0] == '1')
            mainWindow.EsScrollingMarquee1->SetFrames(&renderEveryTick);
        // For the README's picture: the high-contrast look on a system that cannot switch the theme.
        if (const char* contrast = std::getenv("TAVRO_HIGH_CONTRAST"); contrast && contrast[0] == '1') {
            framework::ForceHighContrast(true);
            ::SendMessageA(mainWindow.Handle(), WM_SYSCOLORCHANGE, 0, 0);
        }
#endif
        app::TavroRuntime runtime(mainWindow, app::RunLookPace(), app::RunInputWatch());
        mainWindow.SetWorkflows(&runtime);
        Application.SetMainWindow(mainWindow.Handle());
        mainWindow.Show();
        Application.Run();
        // The window is gone at once; the process stays a while only for a CAD program that was
        // busy when the run ended and has a setting of the user's still to get back.
        constexpr unsigned kPutBackLimitMs = 60000;
        runtime.FinishPutBack(kPutBackLimitMs);
    } catch (...) {
        Application.HandleException();
        return 1;
    }
    return 0;
}
