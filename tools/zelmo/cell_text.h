// Turning bound values (VARIANTs and wide texts with their status) into printable grid cells.
#pragma once

#include <string>

#include "oledb.h"
#include "tools/zelmo/grid_printer.h"

// The shortest decimal text that reads back as the same double ("1234.5", "12", "0.1").
std::string FormatNumber(double value);

// Numbers become number cells; texts text cells; VT_EMPTY, VT_NULL, a null or empty BSTR and
// DBSTATUS_S_ISNULL empty cells; an error status the text "#ERROR".
GridCell CellFromVariant(const VARIANT& value, DBSTATUS status);

// A DBTYPE_WSTR binding: the text as a text cell, or empty/"#ERROR" by status.
GridCell CellFromWideText(const WCHAR* text, DBSTATUS status);
