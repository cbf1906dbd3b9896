#pragma once
// One instance per executable name: a second start would open over the first and the two runs
// would cancel each other's pick in the CAD program, so it brings the first forward instead.

#include "framework/handles.h"

namespace app {

class SingleInstance {
public:
    // True when this process is to run: no other instance of the executable's name runs, or one
    // that was ending has ended within a few seconds. False once the running instance's window has
    // been brought forward (restored if minimised): this process then ends.
    bool Claim();

private:
    framework::KernelHandle mutex_;
};

}  // namespace app
