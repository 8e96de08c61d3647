// Which VARTYPEs a VARIANT may hold, and what clearing one must release.
#pragma once

#include "com_base.h"

namespace comrt {

// True for the base types a VARIANT may hold by value (VT_BYREF adds VT_VARIANT).
bool IsValidVariantType(VARTYPE vt) noexcept;

// Releases what a by-value VARIANT owns (BSTR, interface); leaves vt untouched.
void ReleaseVariantContents(VARIANT& value) noexcept;

}  // namespace comrt
