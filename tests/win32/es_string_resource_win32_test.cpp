#include "widgets/es/es_string_resource.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using es::EQorStringResourceError;
using es::TEsStringResource;

std::u16string ErrorOf(HINSTANCE instance, const char* name) {
    try {
        TEsStringResource reader(instance, name);
    } catch (const EQorStringResourceError& error) {
        return error.Message();
    }
    return u"(no error)";
}

// The product's own tables, read from Tavro.exe beside this test.
TEST(EsStringResource, TavroExeCarriesBothTables) {
    HMODULE exe = ::LoadLibraryExA("Tavro.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    {
        TEsStringResource english(exe, "ES_STRINGS_ENGLISH");
        EXPECT_EQ(english.GetString(0), u"Black");
        EXPECT_EQ(english.GetString(15), u"White");
        EXPECT_EQ(english.GetString(16), u"");
        EXPECT_EQ(english.GetString(39), u"Invalid date");
        TEsStringResource own(exe, "ESSRMGR_STRINGS");
        EXPECT_EQ(own.GetString(3), u"String resource not found: %s");
        EXPECT_EQ(own.GetString(5), u"Invalid string resource");
    }
    ::FreeLibrary(exe);
}

TEST(EsStringResource, ModuleTablesAreCountedAndGiveTheReadersOwnErrors) {
    EXPECT_EQ(es::EsSrMgrStrings(), nullptr);
    es::InitializeEsStringTables();
    TEsStringResource* own = es::EsSrMgrStrings();
    ASSERT_NE(own, nullptr);
    es::InitializeEsStringTables();
    EXPECT_EQ(es::EsSrMgrStrings(), own);
    EXPECT_EQ(es::EsEnglishStrings()->GetString(7), u"Gray");

    HINSTANCE self = ::GetModuleHandleA(nullptr);
    EXPECT_EQ(ErrorOf(self, "NO_SUCH_TABLE"), u"String resource not found: NO_SUCH_TABLE");
    TEsStringResource english(self, "ES_STRINGS_ENGLISH");
    english.ReportMissing = true;
    try {
        english.GetString(-16);
        ADD_FAILURE() << "an absent id with ReportMissing must raise";
    } catch (const EQorStringResourceError& error) {
        EXPECT_EQ(error.Message(), u"String not found: -16");
    }
    TEsStringResource none(self, nullptr);
    EXPECT_FALSE(none.IsOpen());
    try {
        none.GetString(0);
        ADD_FAILURE() << "a reader with no table must raise";
    } catch (const EQorStringResourceError& error) {
        EXPECT_EQ(error.Message(), u"Cannot lock resource");
    }

    es::FinalizeEsStringTables();
    EXPECT_EQ(es::EsSrMgrStrings(), own);
    es::FinalizeEsStringTables();
    EXPECT_EQ(es::EsSrMgrStrings(), nullptr);
    EXPECT_EQ(es::EsEnglishStrings(), nullptr);
}

// Nothing outside a resource is read: its size comes from the platform.
TEST(EsStringResource, MalformedResourcesAreRejectedNotOverrun) {
    es::EsStringTablesScope tables;
    HINSTANCE self = ::GetModuleHandleA(nullptr);
    EXPECT_EQ(ErrorOf(self, "ES_TEST_BAD_MAGIC"), u"Invalid string resource");
    EXPECT_EQ(ErrorOf(self, "ES_TEST_LONG_COUNT"), u"Invalid string resource");
    TEsStringResource outside(self, "ES_TEST_TEXT_OUTSIDE");
    EXPECT_EQ(outside.GetString(1), u"A");
    EXPECT_EQ(outside.GetString(2), u"");
}

}  // namespace
