#pragma once
// Numbered strings kept in the exe as raw-data resources in the STR0 layout (UTF-16). The widget family keeps two
// tables for the life of the program: the reader's own messages and the English messages.

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/controls.h"
#include "framework/exceptions.h"

namespace es {

class EQorStringResourceError : public framework::Exception {
public:
    using framework::Exception::Exception;
};

class TEsStringResource : public framework::TObject {
public:
    // A null name opens nothing.
    TEsStringResource(HINSTANCE instance, const char* resourceName);
    ~TEsStringResource() override;
    TEsStringResource(const TEsStringResource&) = delete;
    TEsStringResource& operator=(const TEsStringResource&) = delete;

    // Closes what is open, then looks the name up in the instance's module, then in the main module.
    void Open(HINSTANCE instance, const char* resourceName);
    void Close();
    bool IsOpen() const { return resource_ != nullptr; }

    // The text of an id; empty when absent (an error when ReportMissing is set) or when the entry's
    // text lies outside the resource. Asking a reader with no table open is error 2.
    std::u16string GetString(std::int32_t id);

    bool ReportMissing = false;

private:
    void Load(HINSTANCE instance, const char* resourceName);
    const void* Lock();

    HGLOBAL resource_ = nullptr;
    DWORD size_ = 0;
};

// The messages of the reader itself, by number (1 to 5).
enum class StringResourceError { NotFound = 1, CannotLock = 2, ResourceNotFound = 3, CannotOpen = 4, Invalid = 5 };
[[noreturn]] void RaiseStringResourceError(StringResourceError error, const std::u16string& argument = {});

// The module-level tables. Initialisation is counted: the first call opens both tables on the main
// module, a repeated call only counts, and the last finalisation frees them.
void InitializeEsStringTables();
void FinalizeEsStringTables();
TEsStringResource* EsSrMgrStrings();
TEsStringResource* EsEnglishStrings();

// Holds one count of the module-level tables for a scope.
class EsStringTablesScope {
public:
    EsStringTablesScope() { InitializeEsStringTables(); }
    ~EsStringTablesScope() { FinalizeEsStringTables(); }
    EsStringTablesScope(const EsStringTablesScope&) = delete;
    EsStringTablesScope& operator=(const EsStringTablesScope&) = delete;
};

}  // namespace es
