// Reads one text value through the exported registry functions, for the runtime's own lookups.
#pragma once

#include <string>

#include "win_registry.h"

namespace comrt {

// Reads a REG_SZ or REG_EXPAND_SZ value, dropping the terminator; ERROR_* on failure.
LONG ReadRegistryString(HKEY base, const std::u16string& subKey, const WCHAR* valueName,
                        std::u16string& text, DWORD* type = nullptr);

// Replaces each %NAME% with the environment variable's value; unknown names stay as they are.
std::u16string ExpandEnvironmentText(const std::u16string& text);

}  // namespace comrt
