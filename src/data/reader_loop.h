// The reader loop that every data file is read with: bracketed keys tested
// in a fixed order, each followed by its value lines.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/fixed4.h"
#include "common/fixed_table.h"
#include "common/line_reader.h"

namespace cabdrive {

// True when the line starts with the key exactly (case-sensitive); text after
// the key is ignored, and a line with leading blanks is no key.
bool keyMatches(std::string_view line, std::string_view key);

// True for the line that ends a list: any line whose first character is "#".
bool isListEnd(std::string_view line);

// Reads the value lines of one key and turns them into numbers. Every failure
// throws the loader's LoadError, built from the current section label and the
// line read last.
class ValueReader {
public:
    using MessageFormat = std::string (*)(std::string_view label, std::string_view lastLine);

    ValueReader(LineReader& in, MessageFormat format) : m_in(in), m_format(format) {}

    // The line read last: the key line, a value line or a list's "#" line.
    std::string_view current() const { return m_current; }
    bool atEnd() const { return m_in.atEnd(); }

    void setLabel(std::string_view label) { m_label = label; }
    const std::string& label() const { return m_label; }

    // Reads the next line and makes it current; past the end of the file, "".
    std::string_view nextLine();

    std::string textLine() { return std::string(nextLine()); }
    std::int32_t intLine() { return toIntOrFail(nextLine()); }
    long double decimalLine() { return toDecimalOrFail(nextLine()); }
    fixed4 fixed4Line() { return toFixed4OrFail(nextLine()); }

    std::int32_t toIntOrFail(std::string_view text) const;
    long double toDecimalOrFail(std::string_view text) const;
    fixed4 toFixed4OrFail(std::string_view text) const;

    // Comma field n (from 1) of the current line, converted.
    std::int32_t intField(int n) const;
    long double decimalField(int n) const;
    fixed4 fixed4Field(int n) const;
    std::string textField(int n) const;

    // Reads rows until a line starting with "#", which is consumed. `row` gets
    // each row's first line as current() and may read further lines of the
    // row itself. A file that ends before the "#" line is malformed.
    template <typename RowReader>
    void list(RowReader&& row)
    {
        for (;;) {
            if (atEnd())
                fail();
            if (isListEnd(nextLine()))
                return;
            row();
        }
    }

    // Appends a row, refusing the file when the table is full.
    template <typename Row, std::size_t Capacity>
    void addRow(FixedTable<Row, Capacity>& table, const Row& row) const
    {
        if (!table.add(row))
            fail();
    }

    [[noreturn]] void fail() const;

private:
    LineReader& m_in;
    MessageFormat m_format;
    std::string m_label;
    std::string_view m_current;
};

// One key of a loader's fixed order.
struct KeyRule {
    std::string_view key;
    // The section label set before this key is tested, when the loader has one.
    std::optional<std::string_view> label;
    // Reads the key's value lines; reader.current() is the key line on entry.
    std::function<void(ValueReader&)> read;
};

// Until the end of the file: read a line, call atPassStart, then test the
// line against every key in order. After a key has read its values, the line
// it read last is tested against the keys after it, so a value line is never
// taken for an earlier key but may be taken for a later one.
void runReaderLoop(ValueReader& reader, const std::vector<KeyRule>& rules,
                   const std::function<void(ValueReader&)>& atPassStart = {});

}  // namespace cabdrive
