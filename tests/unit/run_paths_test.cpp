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

TEST(RunPaths, ReportPathsDeriveFromTheWorkFolder) {
    const RunPaths paths(WorkFolderFor(u"C:\\Users\\Jos\u00e9\\AppData\\Roaming"), "261206194048-2");
    EXPECT_EQ(paths.WorkFolder(), u"C:\\Users\\Jos\u00e9\\AppData\\Roaming\\Halvetra\\");
    EXPECT_EQ(paths.ScriptPath(), paths.WorkFolder() + u"261206194048-2.scr");
    EXPECT_EQ(paths.ReportPath(), paths.WorkFolder() + u"261206194048-2.mpr");
    EXPECT_EQ(paths.InFolder(u"C:\\USERS\\JOSE~1\\").ReportStem(), u"C:\\USERS\\JOSE~1\\261206194048-2");
    EXPECT_EQ(WorkFolderFor(u""), u"\\Halvetra\\");
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
