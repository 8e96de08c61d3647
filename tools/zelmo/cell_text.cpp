// Cell texts: number formatting and the VARIANT types a provider hands out.
#include "tools/zelmo/cell_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "com_runtime.h"
#include "tools/zelmo/utf_text.h"

namespace {

constexpr const char* kErrorText = "#ERROR";

bool IsUsableStatus(DBSTATUS status) {
    return status == DBSTATUS_S_OK || status == DBSTATUS_S_TRUNCATED;
}

// A conversion through the runtime, for the types zelmo does not format itself.
GridCell ConvertedCell(const VARIANT& value, VARTYPE target) {
    VARIANT converted;
    VariantInit(&converted);
    GridCell cell = GridCell::Text(kErrorText);
    if (SUCCEEDED(VariantChangeType(&converted, &value, 0, target))) {
        if (target == VT_R8) {
            cell = GridCell::Number(FormatNumber(converted.dblVal));
        } else if (converted.vt == VT_BSTR) {
            cell = GridCell::Text(ToUtf8(converted.bstrVal));
        }
    }
    VariantClear(&converted);
    return cell;
}

}  // namespace

std::string FormatNumber(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-Infinity" : "Infinity";
    }
    if (value == 0) {
        return "0";  // also for -0
    }
    char text[40];
    for (int precision = 15; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, value);
        if (std::strtod(text, nullptr) == value) {
            break;
        }
    }
    return text;
}

GridCell CellFromVariant(const VARIANT& value, DBSTATUS status) {
    if (status == DBSTATUS_S_ISNULL) {
        return GridCell::Empty();
    }
    if (!IsUsableStatus(status)) {
        return GridCell::Text(kErrorText);
    }
    switch (value.vt) {
        case VT_EMPTY:
        case VT_NULL:
            return GridCell::Empty();
        case VT_BSTR:
            if (value.bstrVal == nullptr || value.bstrVal[0] == 0) {
                return GridCell::Empty();
            }
            return GridCell::Text(ToUtf8(value.bstrVal));
        case VT_R8:
            return GridCell::Number(FormatNumber(value.dblVal));
        case VT_R4:
            return GridCell::Number(FormatNumber(value.fltVal));
        case VT_I1:
            return GridCell::Number(std::to_string(value.cVal));
        case VT_UI1:
            return GridCell::Number(std::to_string(value.bVal));
        case VT_I2:
            return GridCell::Number(std::to_string(value.iVal));
        case VT_UI2:
            return GridCell::Number(std::to_string(value.uiVal));
        case VT_I4:
        case VT_INT:
            return GridCell::Number(std::to_string(value.lVal));
        case VT_UI4:
        case VT_UINT:
            return GridCell::Number(std::to_string(value.ulVal));
        case VT_I8:
            return GridCell::Number(std::to_string(value.llVal));
        case VT_UI8:
            return GridCell::Number(std::to_string(value.ullVal));
        case VT_BOOL:
            return GridCell::Text(value.boolVal != VARIANT_FALSE ? "TRUE" : "FALSE");
        case VT_CY:
        case VT_DECIMAL:
            return ConvertedCell(value, VT_R8);
        default:
            return ConvertedCell(value, VT_BSTR);
    }
}

GridCell CellFromWideText(const WCHAR* text, DBSTATUS status) {
    if (status == DBSTATUS_S_ISNULL) {
        return GridCell::Empty();
    }
    if (!IsUsableStatus(status)) {
        return GridCell::Text(kErrorText);
    }
    if (text == nullptr || text[0] == 0) {
        return GridCell::Empty();
    }
    return GridCell::Text(ToUtf8(text));
}
