#pragma once
// Reads a table of numbered UTF-16 strings in the STR0 layout: "STR0", a signed entry count, 12-byte
// entries (id, byte offset of the text, length in UTF-16 units) sorted by signed id, then the texts.
// The table is given with its size, and nothing is ever read outside it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace es {

struct Str0Entry {
    std::int32_t id;
    std::uint32_t offset;
    std::uint32_t length;
};

class Str0Table {
public:
    // Nothing when the bytes are no STR0 table, or its count or entry table runs past the end.
    static std::optional<Str0Table> Parse(const void* data, std::size_t size);

    std::int32_t Count() const { return count_; }
    // Binary search as the table is meant to be sorted: an unsorted table may miss existing ids.
    std::optional<Str0Entry> Find(std::int32_t id) const;
    // The entry's text; empty when it would lie outside the table.
    std::u16string Text(const Str0Entry& entry) const;

private:
    Str0Table(const unsigned char* data, std::size_t size, std::int32_t count)
        : data_(data), size_(size), count_(count) {}
    Str0Entry EntryAt(std::uint32_t index) const;

    const unsigned char* data_;
    std::size_t size_;
    std::int32_t count_;
};

// The reader's message with its one placeholder ("%d" or "%s") filled in.
std::u16string FormatResourceMessage(const std::u16string& text, const std::u16string& argument);

}  // namespace es
