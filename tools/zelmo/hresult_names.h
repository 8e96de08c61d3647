// Symbolic names of the HRESULTs that the runtime and the provider return, for zelmo's messages.
#pragma once

#include <string>

#include "com_base.h"

// The published name of a code, or null when the table does not know it.
const char* HResultName(HRESULT hr);

// "E_FAIL (0x80004005)", or "0x8000ABCD" for a code without a known name.
std::string DescribeHResult(HRESULT hr);
