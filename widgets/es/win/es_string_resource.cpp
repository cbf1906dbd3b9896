#include "widgets/es/es_string_resource.h"

#include <memory>

#include "widgets/es/str0_table.h"

namespace es {

namespace {

const char kReaderTable[] = "ESSRMGR_STRINGS";
const char kEnglishTable[] = "ES_STRINGS_ENGLISH";

// Used only while the reader's own table is missing or being loaded: the same texts.
const char16_t* FallbackText(StringResourceError error) {
    switch (error) {
        case StringResourceError::NotFound:
            return u"String not found: %d";
        case StringResourceError::CannotLock:
            return u"Cannot lock resource";
        case StringResourceError::ResourceNotFound:
            return u"String resource not found: %s";
        case StringResourceError::CannotOpen:
            return u"Unable to open string resource: %s";
        case StringResourceError::Invalid:
            return u"Invalid string resource";
    }
    return u"";
}

// Resource names and numbers are ASCII.
template <class Ch>
std::basic_string<Ch> Widened(const std::string& ascii) {
    return std::basic_string<Ch>(ascii.begin(), ascii.end());
}

int initCount = 0;
std::unique_ptr<TEsStringResource> readerStrings;
std::unique_ptr<TEsStringResource> englishStrings;

}  // namespace

void RaiseStringResourceError(StringResourceError error, const std::u16string& argument) {
    std::u16string text;
    if (readerStrings && readerStrings->IsOpen())
        text = readerStrings->GetString(static_cast<std::int32_t>(error));
    if (text.empty())
        text = FallbackText(error);
    throw EQorStringResourceError(FormatResourceMessage(text, argument));
}

TEsStringResource::TEsStringResource(HINSTANCE instance, const char* resourceName) {
    Open(instance, resourceName);
}

TEsStringResource::~TEsStringResource() {
    Close();
}

void TEsStringResource::Open(HINSTANCE instance, const char* resourceName) {
    Close();
    if (resourceName)
        Load(instance, resourceName);
}

void TEsStringResource::Close() {
    // Unlocking is a no-op on Win32 and loaded resources live as long as their module; FreeResource
    // is kept for the platforms where it still releases.
    if (resource_)
        ::FreeResource(resource_);
    resource_ = nullptr;
    size_ = 0;
}

void TEsStringResource::Load(HINSTANCE instance, const char* resourceName) {
    const std::string name = std::string(resourceName).substr(0, 255);
    HMODULE module = instance;
    const std::wstring wideName = Widened<wchar_t>(name);
    HRSRC found = ::FindResourceW(module, wideName.c_str(), MAKEINTRESOURCEW(10));
    if (!found) {
        module = ::GetModuleHandleW(nullptr);
        found = ::FindResourceW(module, wideName.c_str(), MAKEINTRESOURCEW(10));
    }
    if (!found)
        RaiseStringResourceError(StringResourceError::ResourceNotFound, Widened<char16_t>(name));
    resource_ = ::LoadResource(module, found);
    if (!resource_)
        RaiseStringResourceError(StringResourceError::CannotOpen, Widened<char16_t>(name));
    size_ = ::SizeofResource(module, found);
    const void* data = Lock();
    if (!Str0Table::Parse(data, size_))
        RaiseStringResourceError(StringResourceError::Invalid);
}

const void* TEsStringResource::Lock() {
    const void* data = ::LockResource(resource_);
    if (!data)
        RaiseStringResourceError(StringResourceError::CannotLock);
    return data;
}

std::u16string TEsStringResource::GetString(std::int32_t id) {
    // Without an open table there is nothing to lock: error 2.
    const auto table = Str0Table::Parse(Lock(), size_);
    if (!table)
        RaiseStringResourceError(StringResourceError::Invalid);
    const auto entry = table->Find(id);
    if (!entry) {
        if (ReportMissing)
            RaiseStringResourceError(StringResourceError::NotFound, Widened<char16_t>(std::to_string(id)));
        return {};
    }
    return table->Text(*entry);
}

void InitializeEsStringTables() {
    if (initCount++ > 0)
        return;
    try {
        HINSTANCE main = ::GetModuleHandleW(nullptr);
        readerStrings = std::make_unique<TEsStringResource>(main, kReaderTable);
        englishStrings = std::make_unique<TEsStringResource>(main, kEnglishTable);
    } catch (...) {
        englishStrings.reset();
        readerStrings.reset();
        --initCount;
        throw;
    }
}

void FinalizeEsStringTables() {
    if (initCount == 0 || --initCount > 0)
        return;
    englishStrings.reset();
    readerStrings.reset();
}

TEsStringResource* EsSrMgrStrings() {
    return readerStrings.get();
}

TEsStringResource* EsEnglishStrings() {
    return englishStrings.get();
}

}  // namespace es
