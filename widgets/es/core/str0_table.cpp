#include "widgets/es/str0_table.h"

#include <cstring>

namespace es {

namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kEntrySize = 12;

std::uint32_t ReadU32(const unsigned char* at) {
    return std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 | std::uint32_t(at[2]) << 16 | std::uint32_t(at[3]) << 24;
}

std::int32_t ReadI32(const unsigned char* at) {
    const std::uint32_t value = ReadU32(at);
    std::int32_t result;
    std::memcpy(&result, &value, sizeof result);
    return result;
}

}  // namespace

std::optional<Str0Table> Str0Table::Parse(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (!bytes || size < kHeaderSize || std::memcmp(bytes, "STR0", 4) != 0)
        return std::nullopt;
    const std::int32_t count = ReadI32(bytes + 4);
    if (count < 0 || static_cast<std::uint64_t>(count) * kEntrySize > size - kHeaderSize)
        return std::nullopt;
    return Str0Table(bytes, size, count);
}

Str0Entry Str0Table::EntryAt(std::uint32_t index) const {
    const unsigned char* at = data_ + kHeaderSize + std::size_t(index) * kEntrySize;
    return {ReadI32(at), ReadU32(at + 4), ReadU32(at + 8)};
}

std::optional<Str0Entry> Str0Table::Find(std::int32_t id) const {
    std::int32_t lo = 0, hi = count_ - 1;
    while (lo <= hi) {
        const std::uint32_t mid = (static_cast<std::uint32_t>(lo) + static_cast<std::uint32_t>(hi)) / 2;
        const Str0Entry entry = EntryAt(mid);
        if (entry.id == id)
            return entry;
        if (entry.id < id)
            lo = static_cast<std::int32_t>(mid) + 1;
        else
            hi = static_cast<std::int32_t>(mid) - 1;
    }
    return std::nullopt;
}

std::u16string Str0Table::Text(const Str0Entry& entry) const {
    const std::uint64_t end = std::uint64_t(entry.offset) + std::uint64_t(entry.length) * 2;
    if (end > size_)
        return {};
    std::u16string text(entry.length, u'\0');
    const unsigned char* at = data_ + entry.offset;
    for (std::uint32_t i = 0; i < entry.length; ++i)
        text[i] = static_cast<char16_t>(at[2 * i] | at[2 * i + 1] << 8);
    return text;
}

std::u16string FormatResourceMessage(const std::u16string& text, const std::u16string& argument) {
    for (const char16_t* placeholder : {u"%d", u"%s"}) {
        const std::size_t at = text.find(placeholder);
        if (at != std::u16string::npos)
            return text.substr(0, at) + argument + text.substr(at + 2);
    }
    return text;
}

}  // namespace es
