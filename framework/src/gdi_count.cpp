#include <atomic>

#include "framework/handles.h"

namespace framework {
namespace {

std::atomic<long> liveGdiObjects{0};

}  // namespace

long LiveGdiObjects() {
    return liveGdiObjects.load();
}

void CountGdiObject(int delta) {
    liveGdiObjects += delta;
}

}  // namespace framework
