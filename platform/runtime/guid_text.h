// Reading and writing GUIDs in their braced registry form.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "com_base.h"

namespace comrt {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hex digits.
std::u16string FormatGuid(REFGUID guid);

// Accepts exactly the braced form, hex digits of either case; nothing before or after it.
std::optional<GUID> ParseGuid(std::u16string_view text);

}  // namespace comrt
