// Text helpers shared by the two property pages: reading a bag value as text.
#pragma once

#include <optional>
#include <string>

#include "com_interfaces.h"

// Reads name from the bag as text; a value of another type is converted to text when it can be.
// Returns the bag's result. text holds a value only when the bag gave one that reads as text:
// empty, null and values that do not convert leave the page's own value in place.
HRESULT ReadBagText(IPropertyBag* bag, LPCOLESTR name, IErrorLog* errorLog,
                    std::optional<std::u16string>& text);

// Writes name as a VT_BSTR of text (E_OUTOFMEMORY when it cannot be allocated).
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): the bag's own argument order
HRESULT WriteBagText(IPropertyBag* bag, LPCOLESTR name, const WCHAR* text);
