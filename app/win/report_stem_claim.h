#pragma once
// Keeps a report stem for this instance while it runs, so that two instances started in the same
// second do not write (and read back) each other's report.

#include <string>

#include "framework/handles.h"

namespace app {

class ReportStemClaim {
public:
    // True when no running instance holds the stamp and no report of it is in the work folder;
    // the stamp is then held until this object goes. A claim already held is given up first.
    bool TryClaim(const std::u16string& workFolder, const std::string& stamp);

private:
    framework::KernelHandle mutex_;
};

}  // namespace app
