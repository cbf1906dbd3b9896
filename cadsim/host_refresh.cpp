#include "host_refresh.h"

#include "drawing_view.h"
#include "object_selection.h"

namespace cadsim {
namespace {

void Repaint(HWND window) {
    if (window)
        ::InvalidateRect(window, nullptr, TRUE);
}

// The waits a tool's run makes at the host's prompts: a point for ID, and objects.
const char* PromptWait(const Host& host, const std::string& prompt) {
    if (!host.freezeAt.empty())
        return prompt.find(host.freezeAt) != std::string::npos ? "prompt" : nullptr;
    if (prompt.rfind("点を指定", 0) == 0)
        return "pick";
    if (prompt.rfind(kSelectObjectsPrompt, 0) == 0)
        return "select";
    return nullptr;
}

void QueueFreeze(Host& host, const char* wait) {
    if (host.anchor && ::PostMessageW(host.anchor, kFreezeAtWait, 0, 0))
        host.freezes.push_back(wait);
}

}  // namespace

void AfterInput(Host& host) {
    for (const std::string& event : host.commandLine.TakeEvents()) {
        host.log.Event(event);
        // The tool waits for the report after it was written.
        if (host.freezeWaitsMs > 0 && host.freezeAt.empty() && event.rfind("report written", 0) == 0)
            QueueFreeze(host, "report");
    }
    if (host.freezeWaitsMs > 0) {
        std::string prompt = host.commandLine.Prompt();
        if (prompt != host.lastPrompt) {
            if (const char* wait = PromptWait(host, prompt))
                QueueFreeze(host, wait);
            host.lastPrompt = std::move(prompt);
        }
    }
    Repaint(host.windows.promptWindow);
    Repaint(host.windows.historyPane);
    Repaint(host.windows.textWindow);
    ShowDrawingChanges(host);
    if (!host.user.Done() && !host.userCheckPosted && host.anchor)
        host.userCheckPosted = ::PostMessageW(host.anchor, kRunScriptedUser, 0, 0) != FALSE;
}

}  // namespace cadsim

namespace cadsim {

void FreezeAtWait(Host& host) {
    if (host.freezes.empty())
        return;
    const std::string wait = std::move(host.freezes.front());
    host.freezes.pop_front();
    host.log.Event("host freeze " + wait + " ms=" + std::to_string(host.freezeWaitsMs));
    ::Sleep(host.freezeWaitsMs);
    host.log.Event("host freeze over");
}

}  // namespace cadsim
