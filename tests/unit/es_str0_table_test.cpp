#include "widgets/es/str0_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

using es::Str0Table;

void PutU32(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// A table in the given entry order (not sorted here, so that unsorted tables can be made).
std::vector<unsigned char> MakeTable(const std::vector<std::pair<std::int32_t, std::u16string>>& entries) {
    std::vector<unsigned char> bytes(8 + 12 * entries.size());
    bytes[0] = 'S', bytes[1] = 'T', bytes[2] = 'R', bytes[3] = '0';
    PutU32(bytes, 4, static_cast<std::uint32_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        PutU32(bytes, 8 + 12 * i, static_cast<std::uint32_t>(entries[i].first));
        PutU32(bytes, 8 + 12 * i + 4, static_cast<std::uint32_t>(bytes.size()));
        PutU32(bytes, 8 + 12 * i + 8, static_cast<std::uint32_t>(entries[i].second.size()));
        for (char16_t unit : entries[i].second) {
            bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
            bytes.push_back(static_cast<unsigned char>(unit >> 8));
        }
    }
    return bytes;
}

std::u16string Lookup(const std::vector<unsigned char>& bytes, std::int32_t id) {
    const auto table = Str0Table::Parse(bytes.data(), bytes.size());
    EXPECT_TRUE(table.has_value());
    if (!table)
        return u"<invalid>";
    const auto entry = table->Find(id);
    return entry ? table->Text(*entry) : u"<none>";
}

TEST(EsStr0Table, FindsSignedIdsAndNothingElse) {
    const auto bytes =
        MakeTable({{INT32_MIN, u"min"}, {-5, u"minus five"}, {0, u"Black"}, {7, u"日本"}, {INT32_MAX, u""}});
    EXPECT_EQ(Lookup(bytes, INT32_MIN), u"min");
    EXPECT_EQ(Lookup(bytes, -5), u"minus five");
    EXPECT_EQ(Lookup(bytes, 0), u"Black");
    EXPECT_EQ(Lookup(bytes, 7), u"日本");
    EXPECT_EQ(Lookup(bytes, INT32_MAX), u"");
    EXPECT_EQ(Lookup(bytes, 6), u"<none>");
    EXPECT_EQ(Lookup(bytes, -1), u"<none>");

    const auto empty = MakeTable({});
    EXPECT_EQ(Lookup(empty, 0), u"<none>");
    EXPECT_EQ(Lookup(empty, -1), u"<none>");
}

TEST(EsStr0Table, UnsortedTableMissesWhatTheSearchSkips) {
    // Ids as unsigned would be sorted; as signed, -1 belongs first and the search never reaches it.
    const auto bytes = MakeTable({{1, u"one"}, {2, u"two"}, {-1, u"minus one"}});
    EXPECT_EQ(Lookup(bytes, 2), u"two");
    EXPECT_EQ(Lookup(bytes, -1), u"<none>");
}

TEST(EsStr0Table, MalformedTablesAreRejectedOrYieldNoText) {
    const auto good = MakeTable({{1, u"abc"}, {2, u"de"}});
    EXPECT_FALSE(Str0Table::Parse(good.data(), 3));
    EXPECT_FALSE(Str0Table::Parse(nullptr, 0));
    auto magic = good;
    magic[3] = '1';
    EXPECT_FALSE(Str0Table::Parse(magic.data(), magic.size()));

    struct Count {
        std::uint32_t value;
        bool fits;
    };
    // Counts that run the entry table past the end, a negative one, and one whose byte size wraps 32 bits.
    for (const Count& c : {Count{2, true}, Count{3, false}, Count{0x80000000u, false}, Count{0x15555556u, false},
                           Count{0xFFFFFFFFu, false}}) {
        auto bytes = good;
        PutU32(bytes, 4, c.value);
        EXPECT_EQ(Str0Table::Parse(bytes.data(), bytes.size()).has_value(), c.fits) << c.value;
    }

    // A text range past the end (by its offset, by its length, or wrapping 32 bits) yields no text.
    struct Text {
        std::uint32_t offset, length;
        std::u16string expected;
    };
    const std::uint32_t size = static_cast<std::uint32_t>(good.size());
    for (const Text& t : {Text{size - 4, 2, u"de"}, Text{size - 4, 3, u""}, Text{size, 1, u""},
                          Text{0xFFFFFFFEu, 1, u""}, Text{0, 0x80000001u, u""}}) {
        auto bytes = good;
        PutU32(bytes, 8 + 12 + 4, t.offset);
        PutU32(bytes, 8 + 12 + 8, t.length);
        EXPECT_EQ(Lookup(bytes, 2), t.expected) << t.offset << "+" << t.length;
    }
}

TEST(EsStr0Table, MessagesTakeTheirOneArgument) {
    EXPECT_EQ(es::FormatResourceMessage(u"String not found: %d", u"-3"), u"String not found: -3");
    EXPECT_EQ(es::FormatResourceMessage(u"String resource not found: %s", u"NAME"), u"String resource not found: NAME");
    EXPECT_EQ(es::FormatResourceMessage(u"Invalid string resource", u"x"), u"Invalid string resource");
}

}  // namespace
