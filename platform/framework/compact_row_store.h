// Compact storage of fixed-size row records: a text column takes the length of its text, not its
// declared width, and reads back as the same bytes at the declared place.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

#include "com_base.h"

enum class CompactColumnKind { Fixed, WideText, NarrowText };

// One column of a record: where it lies in the record, its declared width in bytes, its kind.
struct CompactColumn {
    size_t recordOffset;
    size_t width;
    CompactColumnKind kind;
};

// A stored value: its bytes and their count. A text is followed by its terminator in storage;
// the count leaves the terminator out.
struct CompactValue {
    const BYTE* data;
    size_t length;
};

// Rows are packed one after another into large blocks. Each row begins with one (offset, length)
// pair per text column, then the fixed columns at their natural alignment, then the texts.
class CompactRowStore {
  public:
    CompactRowStore() = default;
    CompactRowStore(const std::vector<CompactColumn>& columns, size_t recordSize) {
        Layout(columns, recordSize);
    }

    // Defines the record layout; columns reaching past the record are cut to it. Clears the rows.
    void Layout(const std::vector<CompactColumn>& columns, size_t recordSize) {
        Clear();
        m_recordSize = recordSize;
        m_columns.clear();
        m_slots.clear();
        size_t texts = 0;
        for (CompactColumn column : columns) {
            if (column.recordOffset >= recordSize) column.width = 0;
            column.width =
                std::min(column.width, recordSize - std::min(recordSize, column.recordOffset));
            if (column.kind == CompactColumnKind::WideText) column.width &= ~size_t{1};
            if (column.kind != CompactColumnKind::Fixed) ++texts;
            m_columns.push_back(column);
        }
        size_t position = texts * sizeof(TextSlot);
        size_t textIndex = 0;
        for (const CompactColumn& column : m_columns) {
            if (column.kind == CompactColumnKind::Fixed) {
                const size_t align = NaturalAlignment(column);
                position = (position + align - 1) / align * align;
                m_slots.push_back(position);
                position += column.width;
            } else {
                m_slots.push_back(textIndex++ * sizeof(TextSlot));
            }
        }
        m_fixedSize = position;
        m_reads.clear();
        for (size_t c = 0; c < m_columns.size(); ++c) {
            const bool fixed = m_columns[c].kind == CompactColumnKind::Fixed;
            m_reads.push_back({static_cast<uint32_t>(m_slots[c]),
                               fixed ? static_cast<uint32_t>(m_columns[c].width) : kTextColumn});
        }
    }

    size_t GetColumnCount() const { return m_columns.size(); }
    size_t GetCount() const { return m_rows.size(); }
    size_t GetRecordSize() const { return m_recordSize; }

    // Stores one record of GetRecordSize() bytes; returns its row index. A text without a
    // terminator inside its width is cut so that it and a terminator fit the width.
    size_t Append(const void* record) {
        const BYTE* source = static_cast<const BYTE*>(record);
        size_t rowSize = m_fixedSize;
        m_lengths.resize(m_columns.size());
        for (size_t c = 0; c < m_columns.size(); ++c) {
            const CompactColumn& column = m_columns[c];
            if (column.kind == CompactColumnKind::Fixed) continue;
            const size_t unit = UnitSize(column.kind);
            m_lengths[c] = TextUnits(source + column.recordOffset, column.width / unit, unit);
            rowSize += (m_lengths[c] + 1) * unit;
        }
        BYTE* row = Allocate(rowSize);
        size_t textPosition = m_fixedSize;
        for (size_t c = 0; c < m_columns.size(); ++c) {
            const CompactColumn& column = m_columns[c];
            if (column.kind == CompactColumnKind::Fixed) {
                std::memcpy(row + m_slots[c], source + column.recordOffset, column.width);
                continue;
            }
            const size_t unit = UnitSize(column.kind);
            const size_t bytes = m_lengths[c] * unit;
            const TextSlot slot{static_cast<uint32_t>(textPosition), static_cast<uint32_t>(bytes)};
            std::memcpy(row + m_slots[c], &slot, sizeof(slot));
            std::memcpy(row + textPosition, source + column.recordOffset, bytes);
            std::memset(row + textPosition + bytes, 0, unit);
            textPosition += bytes + unit;
        }
        m_rows.push_back(row);
        return m_rows.size() - 1;
    }

    // The value of one column of one row; row and column must be below their counts.
    CompactValue Read(size_t row, size_t column) const { return ReadIn(m_rows[row], column); }

    // The same, for a row already looked up with RowBase.
    const BYTE* RowBase(size_t row) const { return m_rows[row]; }
    CompactValue ReadIn(const BYTE* base, size_t column) const {
        const ReadPlace place = m_reads[column];
        if (place.width != kTextColumn) return {base + place.slot, place.width};
        TextSlot slot;
        std::memcpy(&slot, base + place.slot, sizeof(slot));
        return {base + slot.offset, slot.length};
    }

    // Writes a row back as a whole record: zeros, then every column at its declared place.
    void Materialize(size_t row, void* record) const {
        BYTE* target = static_cast<BYTE*>(record);
        std::memset(target, 0, m_recordSize);
        for (size_t c = 0; c < m_columns.size(); ++c) {
            const CompactValue value = Read(row, c);
            std::memcpy(target + m_columns[c].recordOffset, value.data, value.length);
        }
    }

    void Clear() {
        m_rows.clear();
        m_rows.shrink_to_fit();
        m_blocks.clear();
        m_blockUsed = 0;
        m_blockSize = 0;
        m_bytesHeld = 0;
    }

    // Bytes held for the rows: the blocks and the row index.
    size_t MemoryUsed() const { return m_bytesHeld + m_rows.capacity() * sizeof(BYTE*); }

  private:
    struct TextSlot {
        uint32_t offset;
        uint32_t length;
    };
    // Where Read finds a column: a fixed column's place and width, or a text's slot.
    struct ReadPlace {
        uint32_t slot;
        uint32_t width;
    };
    static constexpr uint32_t kTextColumn = UINT32_MAX;
    static constexpr size_t kBlockSize = size_t{256} * 1024;
    static constexpr size_t kRowAlign = 8;

    static size_t UnitSize(CompactColumnKind kind) {
        return kind == CompactColumnKind::WideText ? sizeof(WCHAR) : 1;
    }

    // The record is a C++ object, so a column's offset tells how it may be aligned.
    static size_t NaturalAlignment(const CompactColumn& column) {
        size_t align = kRowAlign;
        while (align > 1 && (column.recordOffset % align != 0 || column.width < align)) align /= 2;
        return align;
    }

    static size_t TextUnits(const BYTE* text, size_t capacity, size_t unit) {
        if (capacity == 0) return 0;
        if (unit == 1) {
            const void* end = std::memchr(text, 0, capacity);
            return end ? static_cast<size_t>(static_cast<const BYTE*>(end) - text) : capacity - 1;
        }
        for (size_t i = 0; i < capacity; ++i) {
            if (text[2 * i] == 0 && text[2 * i + 1] == 0) return i;
        }
        return capacity - 1;
    }

    BYTE* Allocate(size_t size) {
        size = (size + kRowAlign - 1) / kRowAlign * kRowAlign;
        if (m_blocks.empty() || m_blockSize - m_blockUsed < size) {
            const size_t blockSize = std::max(kBlockSize, size);
            m_blocks.emplace_back(new uint64_t[blockSize / sizeof(uint64_t)]);
            m_blockSize = blockSize;
            m_blockUsed = 0;
            m_bytesHeld += blockSize;
        }
        BYTE* row = reinterpret_cast<BYTE*>(m_blocks.back().get()) + m_blockUsed;
        m_blockUsed += size;
        return row;
    }

    std::vector<CompactColumn> m_columns;
    std::vector<size_t> m_slots;  // fixed column: its place in the row; text: its slot's place
    std::vector<ReadPlace> m_reads;
    std::vector<size_t> m_lengths;
    size_t m_recordSize = 0;
    size_t m_fixedSize = 0;
    std::vector<std::unique_ptr<uint64_t[]>> m_blocks;
    size_t m_blockSize = 0;
    size_t m_blockUsed = 0;
    size_t m_bytesHeld = 0;
    std::vector<const BYTE*> m_rows;
};
