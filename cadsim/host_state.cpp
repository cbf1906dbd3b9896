#include "host_state.h"

namespace cadsim {

const char kIdlePrompt[] = "コマンド: ";

CommandLineState InitialCommandLine() {
    CommandLineState state;
    state.prompt = kIdlePrompt;
    state.history = {
        "カスタマイズ ファイル ACAD をロードしました。",
        "図面を再作図中.",
        "コマンド:",
    };
    return state;
}

}  // namespace cadsim
