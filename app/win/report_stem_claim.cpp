#include "report_stem_claim.h"

namespace app {

bool ReportStemClaim::TryClaim(const std::string& workFolder, const std::string& stamp) {
    mutex_.Reset();
    // A report of an instance that has already ended belongs to its measurement too.
    if (::GetFileAttributesA((workFolder + stamp + ".mpr").c_str()) != INVALID_FILE_ATTRIBUTES)
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
