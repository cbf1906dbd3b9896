#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "run_look_pace.h"

namespace app {

// With TAVRO_FIXED_SLEEPS=1, the first version's waits for side-by-side figures: 200 ms between looks.
LookPace RunLookPace() {
    const char* sleeps = std::getenv("TAVRO_FIXED_SLEEPS");
    if (!sleeps || sleeps[0] != '1')
        return nullptr;
    return [](unsigned) { return 200u; };
}

// With TAVRO_RAW_INPUT_LOG naming a file, each change of the run's raw input adds a line with the
// number of devices the process has registered then, for the end-to-end scripts.
InputWatch RunInputWatch() {
    const char* path = std::getenv("TAVRO_RAW_INPUT_LOG");
    if (!path || !path[0])
        return nullptr;
    return [file = std::string(path)] {
        UINT count = 0;
        ::GetRegisteredRawInputDevices(nullptr, &count, sizeof(RAWINPUTDEVICE));
        if (FILE* out = std::fopen(file.c_str(), "ab")) {
            std::fprintf(out, "%u\n", count);
            std::fclose(out);
        }
    };
}

}  // namespace app
