// The type library ZelmoProviderLib as data: its coclasses and the provider's own interfaces.
#pragma once

#include "type_library.h"

extern const TypeLibDescription kZelmoProviderTypeLib;
