#include "window_place_settings.h"

#include <string>
#include <vector>

#include "tavro_form.h"
#include "window_place.h"

namespace app {

const char kSettingsKeyLeft[] = "左";
const char kSettingsKeyTop[] = "上";

namespace {

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoA(monitor, &info)) {
        const RECT& work = info.rcWork;
        reinterpret_cast<std::vector<ScreenRect>*>(list)->push_back({work.left, work.top, work.right, work.bottom});
    }
    return TRUE;
}

}  // namespace

void RestoreWindowPlace(HWND window, const framework::TIniFile& settings) {
    const std::string left = settings.ReadString(kSettingsSection, kSettingsKeyLeft, "");
    const std::string top = settings.ReadString(kSettingsSection, kSettingsKeyTop, "");
    if (left.empty() && top.empty())
        return;
    RECT frame;
    POINT client{0, 0};
    if (!::GetWindowRect(window, &frame) || !::ClientToScreen(window, &client))
        return;
    std::vector<ScreenRect> workAreas;
    ::EnumDisplayMonitors(nullptr, nullptr, CollectWorkArea, reinterpret_cast<LPARAM>(&workAreas));
    const ScreenPoint place = ChooseWindowPlace(left, top, frame.right - frame.left, frame.bottom - frame.top,
                                                client.y - frame.top, workAreas, ScreenPoint{frame.left, frame.top});
    ::SetWindowPos(window, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SaveWindowPlace(HWND window, const framework::TIniFile& settings) {
    RECT frame;
    if (::IsIconic(window) || !::GetWindowRect(window, &frame))
        return;
    settings.WriteString(kSettingsSection, kSettingsKeyLeft, std::to_string(frame.left));
    settings.WriteString(kSettingsSection, kSettingsKeyTop, std::to_string(frame.top));
}

}  // namespace app
