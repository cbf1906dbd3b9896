#include "results_clipboard.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <utility>

#include "cad_numbers.h"
#include "platform/text_trim.h"
#include "results_table.h"

namespace app {
namespace {

// UTF-16 texts are written as escapes: the sources are also compiled in code page 932.
// 合計
const char16_t kTotal[] = u"\u5408\u8a08";

// The list's own header with tabs between its fields.
std::u16string TableHeader() {
    std::u16string header = kResultsHeader;
    std::replace(header.begin(), header.end(), u',', u'\t');
    return header;
}

// A list's first record that starts with this field is our header.
std::u16string_view HeaderFirstField() {
    const std::u16string_view header = kResultsHeader;
    return header.substr(0, header.find(u','));
}

constexpr std::size_t kAreaColumn = 3;
constexpr std::size_t kColumns = 8;

// A decimal number as an integer count of units of 10^-decimals.
struct Decimal {
    std::int64_t units = 0;
    int decimals = 0;
    char16_t separator = 0;  // 0: written without one
};

constexpr int kMaxDigits = 17;  // a sum of many such values still fits 63 bits

std::optional<Decimal> ParseDecimal(std::u16string_view text) {
    const std::optional<NumberText> number = ScanNumber(platform::Trim(text), kShownNumberForm);
    if (!number || number->whole.size() + number->fraction.size() > kMaxDigits)
        return std::nullopt;
    Decimal value;
    value.units =
        static_cast<std::int64_t>(*DigitsValue(std::u16string(number->whole) + std::u16string(number->fraction)));
    value.decimals = static_cast<int>(number->fraction.size());
    value.separator = number->separator;
    if (number->negative)
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

void CsvReader::EndRecord() {
    record_.push_back(std::move(field_));
    sink_(record_);
    record_.clear();
    field_.clear();
    fieldStarted_ = false;
}

void CsvReader::Feed(std::u16string_view text) {
    for (const char16_t c : text) {
        // A power cut can leave NUL bytes in a list: they are no text, and a paste would end at one.
        if (c == u'\0')
            continue;
        if (atStart_) {
            atStart_ = false;
            if (c == u'\xFEFF')
                continue;
        }
        if (crSeen_) {
            crSeen_ = false;
            if (c == u'\n')
                continue;
        }
        if (quoteSeen_) {
            quoteSeen_ = false;
            if (c == u'"') {
                field_ += c;
                continue;
            }
            quoted_ = false;  // the quote ended the quoted part; c is read as unquoted
        }
        if (quoted_) {
            if (c == u'"')
                quoteSeen_ = true;
            else
                field_ += c;
        } else if (c == u'"' && !fieldStarted_) {
            quoted_ = true;
            fieldStarted_ = true;
        } else if (c == u',') {
            record_.push_back(std::move(field_));
            field_.clear();
            fieldStarted_ = false;
        } else if (c == u'\r' || c == u'\n') {
            crSeen_ = c == u'\r';
            EndRecord();
        } else {
            field_ += c;
            fieldStarted_ = true;
        }
    }
}

void CsvReader::Finish() {
    if (fieldStarted_ || !record_.empty())
        EndRecord();
    quoted_ = quoteSeen_ = crSeen_ = false;
}

std::vector<Record> ParseCsv(const std::u16string& text) {
    std::vector<Record> records;
    CsvReader reader([&records](const Record& record) { records.push_back(record); });
    reader.Feed(text);
    reader.Finish();
    return records;
}

void NumberSum::Add(const std::u16string& text) {
    const std::optional<Decimal> value = ParseDecimal(text);
    if (!value)
        return;
    approximate_ += AsDouble(*value);
    if (value->decimals > decimals_) {
        exact_ = exact_ && Scale(total_, value->decimals - decimals_);
        decimals_ = value->decimals;
    }
    std::int64_t units = value->units;
    exact_ = exact_ && Scale(units, decimals_ - value->decimals) && !__builtin_add_overflow(total_, units, &total_);
    if (!separator_)
        separator_ = value->separator;
}

std::u16string NumberSum::Text(char16_t fallbackSeparator) const {
    std::string digits;
    bool negative = false;
    if (exact_) {
        negative = total_ < 0;
        digits = std::to_string(negative ? -static_cast<std::uint64_t>(total_) : static_cast<std::uint64_t>(total_));
    } else {
        char text[512];
        negative = approximate_ < 0;
        std::snprintf(text, sizeof text, "%.0f", (negative ? -approximate_ : approximate_) * std::pow(10.0, decimals_));
        digits = text;
    }
    if (decimals_ > 0) {
        if (digits.size() <= static_cast<std::size_t>(decimals_))
            digits.insert(0, static_cast<std::size_t>(decimals_) + 1 - digits.size(), '0');
        digits.insert(digits.size() - static_cast<std::size_t>(decimals_), 1, '.');
    }
    std::u16string result = (negative ? u"-" : u"") + Widened(digits);
    if (decimals_ > 0)
        result[result.find(u'.')] = separator_ ? separator_ : fallbackSeparator;
    return result;
}

std::u16string SumOfNumbers(const std::vector<std::u16string>& texts, char16_t fallbackSeparator) {
    NumberSum sum;
    for (const std::u16string& text : texts)
        sum.Add(text);
    return sum.Text(fallbackSeparator);
}

ClipboardTableWriter::ClipboardTableWriter(char16_t decimalSeparator, Out out)
    : separator_(decimalSeparator),
      out_(std::move(out)),
      reader_([this](const std::vector<std::u16string>& record) { Record(record); }) {
    out_(TableHeader());
}

void ClipboardTableWriter::Record(const std::vector<std::u16string>& record) {
    const bool first = std::exchange(first_, false);
    // A header of its own, in our words or (saved again by a spreadsheet) in another language.
    if (first && (record[0] == HeaderFirstField() ||
                  (record.size() == kColumns && !ParseDecimal(record[kAreaColumn]).has_value())))
        return;
    if (record.size() == 1 && record[0].empty())
        return;  // a blank line
    line_.clear();
    for (std::size_t f = 0; f < record.size(); ++f) {
        if (f)
            line_ += u'\t';
        AppendField(line_, record[f]);
    }
    line_ += u"\r\n";
    out_(line_);
    if (record.size() > kAreaColumn)
        areas_.Add(record[kAreaColumn]);
}

void ClipboardTableWriter::Finish() {
    reader_.Finish();
    std::u16string total = kTotal;
    for (std::size_t f = 1; f < kColumns; ++f) {
        total += u'\t';
        if (f == kAreaColumn)
            total += areas_.Text(separator_);
    }
    out_(total + u"\r\n");
}

std::u16string ResultsClipboardText(const std::u16string& csv, char16_t decimalSeparator) {
    std::u16string out;
    ClipboardTableWriter writer(decimalSeparator, [&out](std::u16string_view text) { out.append(text); });
    writer.Feed(csv);
    writer.Finish();
    return out;
}

}  // namespace app
