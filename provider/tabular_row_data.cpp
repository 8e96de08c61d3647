// Drill-through rows: owned buffers, copied whole.
#include "provider/tabular_row_data.h"

#include <cstring>

namespace {

// At least one byte, so that every row has a buffer to point at.
std::unique_ptr<BYTE[]> ZeroFilled(int length) {
    const size_t bytes = length > 0 ? static_cast<size_t>(length) : 1;
    return std::unique_ptr<BYTE[]>(new BYTE[bytes]());
}

}  // namespace

CTabularRowData::CTabularRowData(int rowLength)
    : rowLength(rowLength > 0 ? rowLength : 0), buffer(ZeroFilled(rowLength)) {}

CTabularRowData::CTabularRowData(const CTabularRowData& other)
    : rowLength(other.rowLength), buffer(ZeroFilled(other.rowLength)) {
    if (other.buffer != nullptr && rowLength > 0)
        std::memcpy(buffer.get(), other.buffer.get(), static_cast<size_t>(rowLength));
}

CTabularRowData& CTabularRowData::operator=(const CTabularRowData& other) {
    if (this != std::addressof(other)) {
        CTabularRowData copy(other);
        *this = std::move(copy);
    }
    return *this;
}
