// Any bytes as a STR0 string table: a table is accepted only when its entries fit, a lookup finds
// only the id asked for (and every id of a sorted table), a text never comes from outside the
// bytes, and the message formatting fills one placeholder at most.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "widgets/es/str0_table.h"

namespace {

using fuzzcheck::Require;

std::int32_t IdAt(const std::uint8_t* data, std::size_t index) {
    const std::uint8_t* at = data + 8 + 12 * index;
    const std::uint32_t value = at[0] | at[1] << 8 | at[2] << 16 | std::uint32_t(at[3]) << 24;
    std::int32_t id;
    std::memcpy(&id, &value, sizeof id);
    return id;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input's size, so that any read past it is caught.
    const std::vector<std::uint8_t> bytes(data, data + size);
    const auto table = es::Str0Table::Parse(bytes.data(), bytes.size());
    if (table) {
        Require(table->Count() >= 0, "a table has no negative count");
        Require(8 + 12 * static_cast<std::uint64_t>(table->Count()) <= size, "the entries fit the bytes");
        bool sorted = true;
        for (std::int32_t i = 0; i < table->Count(); ++i) {
            const std::int32_t id = IdAt(bytes.data(), static_cast<std::size_t>(i));
            sorted = sorted && (i == 0 || IdAt(bytes.data(), static_cast<std::size_t>(i - 1)) < id);
            const auto entry = table->Find(id);
            Require(!entry || entry->id == id, "a lookup finds only the id asked for");
            if (entry) {
                const std::u16string text = table->Text(*entry);
                Require(text.empty() || (text.size() == entry->length &&
                                         entry->offset + 2 * static_cast<std::uint64_t>(entry->length) <= size),
                        "a text lies inside the bytes");
            }
        }
        if (sorted)
            for (std::int32_t i = 0; i < table->Count(); ++i)
                Require(table->Find(IdAt(bytes.data(), static_cast<std::size_t>(i))).has_value(),
                        "a sorted table finds every id");
    }

    const std::u16string text(data, data + size);
    const std::u16string filled = es::FormatResourceMessage(text, u"ARG");
    const bool placeholder = text.find(u"%d") != std::u16string::npos || text.find(u"%s") != std::u16string::npos;
    Require(filled.size() == (placeholder ? text.size() + 1 : text.size()), "one placeholder at most is filled");
    return 0;
}
