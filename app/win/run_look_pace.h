#pragma once
// How often a run looks at the CAD program while it waits, and who hears of its raw input: the
// shipped exe and a benchmark build link different definitions.

#include "win32_workflow_host.h"

namespace app {

LookPace RunLookPace();
InputWatch RunInputWatch();

}  // namespace app
