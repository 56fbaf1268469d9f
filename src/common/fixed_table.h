// A table of records with a fixed capacity and a row count.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>

namespace cabdrive {

// Rows live in a zero-initialised array, so reading a row past the count but
// within the capacity gives an empty record rather than undefined behaviour.
// Restarting a table resets the count; rows past the new count keep what they
// held. Adding beyond the capacity is refused: the loader reports the file.
template <typename Row, std::size_t Capacity>
class FixedTable {
public:
    static constexpr std::size_t capacity = Capacity;

    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    bool full() const { return m_count == Capacity; }

    void restart() { m_count = 0; }

    // Appends a row; false (and no change) when the table is full.
    [[nodiscard]] bool add(const Row& row)
    {
        if (full())
            return false;
        m_rows[m_count++] = row;
        return true;
    }

    // Any row within the capacity, counted or not.
    const Row& operator[](std::size_t i) const
    {
        assert(i < Capacity && "row index beyond the table's capacity");
        return m_rows[i];
    }
    Row& operator[](std::size_t i)
    {
        assert(i < Capacity && "row index beyond the table's capacity");
        return m_rows[i];
    }

    const Row* begin() const { return m_rows.data(); }
    const Row* end() const { return m_rows.data() + m_count; }
    Row* begin() { return m_rows.data(); }
    Row* end() { return m_rows.data() + m_count; }

private:
    std::array<Row, Capacity> m_rows{};
    std::size_t m_count = 0;
};

}  // namespace cabdrive
