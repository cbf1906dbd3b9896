#include "window_place_settings.h"

#include <string>
#include <vector>

#include "tavro_form.h"
#include "window_place.h"

namespace app {

const char16_t kSettingsKeyLeft[] = u"左";
const char16_t kSettingsKeyTop[] = u"上";

namespace {

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoA(monitor, &info)) {
        const RECT& work = info.rcWork;
        reinterpret_cast<std::vector<platform::Rect>*>(list)->push_back(platform::FromRECT(work));
    }
    return TRUE;
}

}  // namespace

void RestoreWindowPlace(HWND window, const framework::TIniFile& settings) {
    const std::u16string left = settings.ReadString(kSettingsSection, kSettingsKeyLeft, u"");
    const std::u16string top = settings.ReadString(kSettingsSection, kSettingsKeyTop, u"");
    if (left.empty() && top.empty())
        return;
    RECT frame;
    POINT client{0, 0};
    if (!::GetWindowRect(window, &frame) || !::ClientToScreen(window, &client))
        return;
    std::vector<platform::Rect> workAreas;
    ::EnumDisplayMonitors(nullptr, nullptr, CollectWorkArea, reinterpret_cast<LPARAM>(&workAreas));
    const platform::Point place =
        ChooseWindowPlace(left, top, frame.right - frame.left, frame.bottom - frame.top, client.y - frame.top,
                          workAreas, platform::Point{frame.left, frame.top});
    ::SetWindowPos(window, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SaveWindowPlace(HWND window, const framework::TIniFile& settings) {
    RECT frame;
    if (::IsIconic(window) || !::GetWindowRect(window, &frame))
        return;
    const std::string left = std::to_string(frame.left);
    const std::string top = std::to_string(frame.top);
    settings.WriteString(kSettingsSection, kSettingsKeyLeft, std::u16string(left.begin(), left.end()));
    settings.WriteString(kSettingsSection, kSettingsKeyTop, std::u16string(top.begin(), top.end()));
}

}  // namespace app
