// The DllInstall command line that asks for per-user registration.
#pragma once

#include "com_base.h"

// True when the first five characters, terminator included, are "user" in any case.
bool IsPerUserCommandLine(LPCWSTR commandLine);
