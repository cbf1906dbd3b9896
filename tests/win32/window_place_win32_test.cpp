#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/application.h"
#include "framework/shell_folders.h"
#include "tavro_form.h"

namespace {

using framework::Application;

std::string SettingsFile() {
    return framework::SpecialFolderPath(nullptr, 0x1a) + "\\Halvetra\\results_win32_test.Ini";
}

RECT WindowRect(const app::TTavroF& form) {
    RECT rect;
    ::GetWindowRect(form.Handle(), &rect);
    return rect;
}

class WindowPlace : public ::testing::Test {
protected:
    void SetUp() override {
        Application.Initialize();
        Application.SetTitle(app::kApplicationTitle);
        framework::ForceDirectories(framework::SpecialFolderPath(nullptr, 0x1a) + "\\Halvetra\\");
        ::DeleteFileA(SettingsFile().c_str());
    }
    void TearDown() override { ::DeleteFileA(SettingsFile().c_str()); }
    void Plant(const char* left, const char* top) {
        ::WritePrivateProfileStringA("初期化", "左", left, SettingsFile().c_str());
        ::WritePrivateProfileStringA("初期化", "上", top, SettingsFile().c_str());
    }
    static POINT Centred(const RECT& rect) {
        return POINT{(::GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2,
                     (::GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2};
    }
};

TEST_F(WindowPlace, CloseSavesThePlaceBesideTheSizeAndTheNextStartOpensThere) {
    {
        app::TTavroF form;
        ::SetWindowPos(form.Handle(), nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        form.Close();
    }
    char value[32] = {};
    ::GetPrivateProfileStringA("初期化", "左", "", value, sizeof value, SettingsFile().c_str());
    EXPECT_STREQ(value, "123");
    ::GetPrivateProfileStringA("初期化", "上", "", value, sizeof value, SettingsFile().c_str());
    EXPECT_STREQ(value, "77");
    ::GetPrivateProfileStringA("初期化", "大きさ", "", value, sizeof value, SettingsFile().c_str());
    EXPECT_STREQ(value, "50");

    app::TTavroF again;
    EXPECT_EQ(WindowRect(again).left, 123);
    EXPECT_EQ(WindowRect(again).top, 77);
}

TEST_F(WindowPlace, APlaceOffEveryMonitorOrGarbageOpensCentred) {
    const struct {
        const char *left, *top;
    } cases[] = {{"-30000", "5"}, {"5", "30000"}, {"12abc", "40"}, {"", "40"}, {"40", nullptr}};
    for (const auto& c : cases) {
        ::DeleteFileA(SettingsFile().c_str());
        Plant(c.left, c.top);
        app::TTavroF form;
        const RECT rect = WindowRect(form);
        const POINT centred = Centred(rect);
        EXPECT_EQ(rect.left, centred.x) << c.left;
        EXPECT_EQ(rect.top, centred.y) << c.left;
    }
}

}  // namespace
