#include "report_stem_claim.h"

#include "framework/shell_folders.h"

namespace app {

bool ReportStemClaim::TryClaim(const std::u16string& workFolder, const std::string& stamp) {
    mutex_.Reset();
    // A report of an instance that has already ended belongs to its measurement too. The stamp is
    // digits and hyphens.
    const std::u16string report = workFolder + std::u16string(stamp.begin(), stamp.end()) + u".mpr";
    if (::GetFileAttributesW(framework::WidePath(report)) != INVALID_FILE_ATTRIBUTES)
        return false;
    // One name per stamp in the user's session; the folder is the user's own, so the stamp is enough.
    const std::string name = "Local\\Halvetra.ReportStem." + stamp;
    framework::KernelHandle mutex(::CreateMutexA(nullptr, FALSE, name.c_str()));
    if (!mutex || ::GetLastError() == ERROR_ALREADY_EXISTS)
        return false;
    mutex_ = std::move(mutex);
    return true;
}

}  // namespace app
