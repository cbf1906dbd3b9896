#include "run_look_pace.h"

namespace app {

// The run's own pace.
LookPace RunLookPace() {
    return nullptr;
}

InputWatch RunInputWatch() {
    return nullptr;
}

}  // namespace app
