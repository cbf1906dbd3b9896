#include "results_clipboard.h"

#include <cstdint>
#include <cmath>
#include <cstdio>
#include <optional>

namespace app {
namespace {

// UTF-16 texts are written as escapes: the sources are also compiled in code page 932.
// 日時 図面 モード 面積 周長 図心X 図心Y 円の大きさ
const char16_t kHeader[] =
    u"\u65e5\u6642\t\u56f3\u9762\t\u30e2\u30fc\u30c9\t\u9762\u7a4d\t\u5468\u9577\t\u56f3\u5fc3X\t\u56f3\u5fc3Y\t\u5186"
    u"\u306e\u5927\u304d\u3055\r\n";
// 合計
const char16_t kTotal[] = u"\u5408\u8a08";
// 日時
const char16_t kHeaderFirstField[] = u"\u65e5\u6642";
constexpr std::size_t kAreaColumn = 3;
constexpr std::size_t kColumns = 8;

// A decimal number as an integer count of units of 10^-decimals.
struct Decimal {
    std::int64_t units = 0;
    int decimals = 0;
    char16_t separator = 0;  // 0: written without one
};

constexpr int kMaxDigits = 17;  // a sum of many such values still fits 63 bits

std::optional<Decimal> ParseDecimal(const std::u16string& text) {
    std::size_t i = text.find_first_not_of(u' ');
    const std::size_t end = text.find_last_not_of(u' ') + 1;
    if (i == std::u16string::npos)
        return std::nullopt;
    bool negative = false;
    if (text[i] == u'+' || text[i] == u'-')
        negative = text[i++] == u'-';
    Decimal value;
    int digits = 0;
    bool inFraction = false;
    for (; i < end; ++i) {
        const char16_t c = text[i];
        if (c >= u'0' && c <= u'9') {
            if (++digits > kMaxDigits)
                return std::nullopt;
            value.units = value.units * 10 + (c - u'0');
            value.decimals += inFraction ? 1 : 0;
        } else if ((c == u'.' || c == u',') && !inFraction) {
            inFraction = true;
            value.separator = c;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (negative)
        value.units = -value.units;
    return value;
}

// False when the result does not fit.
bool Scale(std::int64_t& units, int by) {
    while (by-- > 0) {
        if (__builtin_mul_overflow(units, 10, &units))
            return false;
    }
    return true;
}

double AsDouble(const Decimal& value) {
    double result = static_cast<double>(value.units);
    for (int i = 0; i < value.decimals; ++i)
        result /= 10;
    return result;
}

std::u16string Widened(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

void AppendField(std::u16string& out, const std::u16string& field) {
    // As a spreadsheet copies cells: only a field that holds a tab or a line end, or starts with a
    // quote, is quoted; a quote inside a field is taken as it is.
    if (field.find_first_of(u"\t\r\n") == std::u16string::npos && (field.empty() || field[0] != u'"')) {
        out += field;
        return;
    }
    out += u'"';
    for (char16_t c : field) {
        out += c;
        if (c == u'"')
            out += u'"';
    }
    out += u'"';
}

}  // namespace

std::vector<Record> ParseCsv(const std::u16string& text) {
    std::vector<Record> records;
    Record record;
    std::u16string field;
    bool quoted = false;
    bool fieldStarted = false;
    std::size_t i = !text.empty() && text[0] == u'\xFEFF' ? 1 : 0;
    const auto endRecord = [&] {
        record.push_back(std::move(field));
        records.push_back(std::move(record));
        record.clear();
        field.clear();
        fieldStarted = false;
    };
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (quoted) {
            if (c != u'"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else
                quoted = false;
        } else if (c == u'"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (c == u',') {
            record.push_back(std::move(field));
            field.clear();
            fieldStarted = false;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endRecord();
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !record.empty())
        endRecord();
    return records;
}

std::u16string SumOfNumbers(const std::vector<std::u16string>& texts, char16_t fallbackSeparator) {
    std::int64_t total = 0;
    double approximate = 0;  // used only when the exact sum does not fit
    bool exact = true;
    int decimals = 0;
    char16_t separator = 0;
    for (const std::u16string& text : texts) {
        const std::optional<Decimal> value = ParseDecimal(text);
        if (!value)
            continue;
        approximate += AsDouble(*value);
        if (value->decimals > decimals) {
            exact = exact && Scale(total, value->decimals - decimals);
            decimals = value->decimals;
        }
        std::int64_t units = value->units;
        exact = exact && Scale(units, decimals - value->decimals) && !__builtin_add_overflow(total, units, &total);
        if (!separator)
            separator = value->separator;
    }
    std::string digits;
    bool negative = false;
    if (exact) {
        negative = total < 0;
        digits = std::to_string(negative ? -static_cast<std::uint64_t>(total) : static_cast<std::uint64_t>(total));
    } else {
        char text[512];
        negative = approximate < 0;
        std::snprintf(text, sizeof text, "%.0f", (negative ? -approximate : approximate) * std::pow(10.0, decimals));
        digits = text;
    }
    if (decimals > 0) {
        if (digits.size() <= static_cast<std::size_t>(decimals))
            digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
    }
    std::u16string result = (negative ? u"-" : u"") + Widened(digits);
    if (decimals > 0)
        result[result.find(u'.')] = separator ? separator : fallbackSeparator;
    return result;
}

std::u16string ResultsClipboardText(const std::u16string& csv, char16_t decimalSeparator) {
    std::vector<Record> records = ParseCsv(csv);
    std::u16string out = kHeader;
    std::vector<std::u16string> areas;
    for (std::size_t r = 0; r < records.size(); ++r) {
        const Record& record = records[r];
        if (r == 0 && record[0] == kHeaderFirstField)
            continue;
        if (record.size() == 1 && record[0].empty())
            continue;  // a blank line
        for (std::size_t f = 0; f < record.size(); ++f) {
            if (f)
                out += u'\t';
            AppendField(out, record[f]);
        }
        out += u"\r\n";
        if (record.size() > kAreaColumn)
            areas.push_back(record[kAreaColumn]);
    }
    out += kTotal;
    for (std::size_t f = 1; f < kColumns; ++f) {
        out += u'\t';
        if (f == kAreaColumn)
            out += SumOfNumbers(areas, decimalSeparator);
    }
    return out + u"\r\n";
}

}  // namespace app
