#include "run_paths.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using namespace app;

TEST(RunPaths, StartStampIsTwelveDigitsWithoutSeparators) {
    EXPECT_EQ(FormatStartStamp(2026, 12, 6, 19, 40, 48), "261206194048");
    EXPECT_EQ(FormatStartStamp(2000, 1, 2, 0, 3, 4), "000102000304");
    EXPECT_EQ(FormatStartStamp(2109, 10, 31, 23, 59, 59), "091031235959");
}

TEST(RunPaths, ReportAndSettingsPathsDeriveFromTheWorkFolder) {
    const RunPaths paths(WorkFolderFor("C:\\Users\\大野\\AppData\\Roaming"), "261206194048");
    EXPECT_EQ(paths.WorkFolder(), "C:\\Users\\大野\\AppData\\Roaming\\Halvetra\\");
    EXPECT_EQ(paths.ScriptPath(), paths.WorkFolder() + "261206194048.scr");
    EXPECT_EQ(paths.ReportStem(), paths.WorkFolder() + "261206194048");
    EXPECT_EQ(paths.ReportPath(), paths.WorkFolder() + "261206194048.mpr");
    // Only the executable's file name counts, never its folder.
    EXPECT_EQ(paths.SettingsPath("D:\\tools\\Tavro.exe"), paths.WorkFolder() + "Tavro.Ini");
    EXPECT_EQ(paths.SettingsPath("D:\\tools.v2\\TavroCopy"), paths.WorkFolder() + "TavroCopy.Ini");
    EXPECT_EQ(paths.SettingsPath("Tavro.old.exe"), paths.WorkFolder() + "Tavro.old.Ini");
}

TEST(RunPaths, TrailBytesThatLookLikeBackslashesAreNotDelimiters) {
    // "ソ" is 0x83 0x5C and "表" is 0x95 0x5C in code page 932.
    EXPECT_EQ(ExtractFileName("C:\\ソフト\\表.exe"), "表.exe");
    EXPECT_EQ(ExtractFileName("C:\\tools\\ソ"), "ソ");
    EXPECT_EQ(ChangeFileExt("C:\\a.b\\表", ".Ini"), "C:\\a.b\\表.Ini");
    EXPECT_EQ(ChangeFileExt("C:\\a\\表.exe", ".Ini"), "C:\\a\\表.Ini");
    EXPECT_EQ(ExtractFileName("plain"), "plain");
    EXPECT_EQ(ExtractFileName("C:x.exe"), "x.exe");
}

TEST(RunPaths, EmptyApplicationDataFolderStillGivesAFolderEndingInABackslash) {
    EXPECT_EQ(WorkFolderFor(""), "\\Halvetra\\");
}

TEST(RunPaths, FirstFreeStampSkipsStampsThatAreTaken) {
    std::vector<std::string> asked;
    const std::set<std::string> taken = {"261206194048", "261206194048-2"};
    const auto claim = [&](const std::string& candidate) {
        asked.push_back(candidate);
        return taken.count(candidate) == 0;
    };
    EXPECT_EQ(FirstFreeStamp("261206194048", claim), "261206194048-3");
    EXPECT_EQ(asked, (std::vector<std::string>{"261206194048", "261206194048-2", "261206194048-3"}));
    EXPECT_EQ(FirstFreeStamp("261206194049", claim), "261206194049");
    // Nothing free: the plain stamp, after a bounded number of tries.
    asked.clear();
    EXPECT_EQ(FirstFreeStamp("261206194050", [&](const std::string& c) { return asked.push_back(c), false; }),
              "261206194050");
    EXPECT_EQ(asked.size(), static_cast<std::size_t>(kStampTries));
    EXPECT_EQ(asked.back(), "261206194050-100");
}

}  // namespace
