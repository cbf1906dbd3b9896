#include "gui_objects.h"

#include <cstdint>
#include <vector>

namespace testsupport {
namespace {

// One entry of the handle table as the 64-bit PEB points at it.
#pragma pack(push, 1)
struct HandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint8_t extType;  // the low seven bits; 0x80 marks a stock object
    std::uint8_t generation;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t userPointer;
};
#pragma pack(pop)
static_assert(sizeof(HandleEntry) == 24, "entry layout");

constexpr std::size_t kTableOffset = 0xF8;
constexpr std::size_t kMaxEntries = 0x10000;
constexpr std::size_t kChunk =
    4096;  // entries read at a time: a table shorter than the maximum ends in unreadable pages
constexpr std::uint8_t kStock = 0x80;

struct BasicInformation {
    LONG_PTR exitStatus;
    void* peb;
    ULONG_PTR affinity;
    LONG_PTR basePriority;
    ULONG_PTR processId;
    ULONG_PTR parentId;
};

void* PebOf(HANDLE process) {
    using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    auto query =
        ntdll ? reinterpret_cast<Query>(reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtQueryInformationProcess")))
              : nullptr;
    BasicInformation info{};
    if (!query || query(process, 0, &info, sizeof info, nullptr) != 0)
        return nullptr;
    return info.peb;
}

const char* KindName(int type) {
    switch (type) {
        case 1:
            return "DC";
        case 4:
            return "region";
        case 5:
            return "bitmap";
        case 8:
            return "palette";
        case 10:
            return "font";
        case 16:
            return "brush/pen";
        default:
            return nullptr;
    }
}

}  // namespace

std::string GdiObjects::Kinds() const {
    std::string text;
    for (const auto& [type, count] : byType) {
        const char* name = KindName(type);
        text += (text.empty() ? "" : ", ") + (name ? std::string(name) : "type " + std::to_string(type)) + " " +
                std::to_string(count);
    }
    return text;
}

GdiObjects CountGdiObjects(HANDLE process) {
    GdiObjects objects;
    if (sizeof(void*) == 8) {
        void* peb = PebOf(process);
        std::uint64_t table = 0;
        SIZE_T read = 0;
        if (peb && ::ReadProcessMemory(process, static_cast<char*>(peb) + kTableOffset, &table, sizeof table, &read) &&
            read == sizeof table && table) {
            objects.total = 0;
            std::vector<HandleEntry> chunk(kChunk);
            for (std::size_t first = 0; first < kMaxEntries; first += kChunk) {
                const auto* at = reinterpret_cast<const char*>(table) + first * sizeof(HandleEntry);
                if (!::ReadProcessMemory(process, at, chunk.data(), kChunk * sizeof(HandleEntry), &read))
                    break;
                for (const HandleEntry& entry : chunk)
                    if (entry.type != 0 && !(entry.extType & kStock)) {
                        ++objects.total;
                        ++objects.byType[entry.type];
                    }
            }
        }
    }
    // Where the platform gives the figure, it is the one to trust.
    if (const DWORD counted = ::GetGuiResources(process, GR_GDIOBJECTS)) {
        objects.total = static_cast<long>(counted);
    }
    return objects;
}

long UserObjectCount(HANDLE process) {
    const DWORD counted = ::GetGuiResources(process, GR_USEROBJECTS);
    return counted ? static_cast<long>(counted) : -1;
}

std::string GuiFigures(HANDLE process) {
    const GdiObjects gdi = CountGdiObjects(process);
    const long user = UserObjectCount(process);
    return "GDI " + (gdi.total >= 0 ? std::to_string(gdi.total) + " (" + gdi.Kinds() + ")" : std::string("-")) +
           "  USER " + (user >= 0 ? std::to_string(user) : std::string("-"));
}

void MinimiseRestore(HWND window, int cycles) {
    for (int cycle = 0; cycle < cycles; ++cycle) {
        ::ShowWindow(window, SW_MINIMIZE);
        ::ShowWindow(window, SW_RESTORE);
        ::Sleep(20);
    }
}

HWND ControlById(HWND window, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    ::EnumChildWindows(
        window,
        [](HWND child, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (::GetDlgCtrlID(child) != s->id)
                return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool DpiRoundTrips(HWND window, HANDLE process, int roundTrips, int probeId) {
    // The rectangle travels as a pointer that the system does not carry across: it must already
    // be in the window's process.
    void* remote = ::VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote)
        return false;
    const HWND control = ControlById(window, probeId);
    if (!control) {
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        return false;
    }
    auto widthOf = [&] {
        RECT r{};
        ::GetWindowRect(control, &r);
        return r.right - r.left;
    };
    const LONG atStart = widthOf();
    bool grew = true;
    for (int trip = 0; trip < roundTrips; ++trip) {
        for (const int dpi : {144, 96}) {
            RECT suggested{};
            ::GetWindowRect(window, &suggested);
            SIZE_T written = 0;
            if (!::WriteProcessMemory(process, remote, &suggested, sizeof suggested, &written) ||
                written != sizeof suggested) {
                grew = false;
                break;
            }
            ::SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote));
            if (dpi == 144)
                grew = grew && widthOf() > atStart;
        }
    }
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return grew;
}

}  // namespace testsupport
