#include <cstdlib>

#include "run_look_pace.h"

namespace app {

// With TAVRO_FIXED_SLEEPS=1, the first version's waits for side-by-side figures: 200 ms between looks.
LookPace RunLookPace() {
    const char* sleeps = std::getenv("TAVRO_FIXED_SLEEPS");
    if (!sleeps || sleeps[0] != '1')
        return nullptr;
    return [](unsigned) { return 200u; };
}

}  // namespace app
