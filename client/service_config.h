// Reads the service's address from "config.txt" beside the provider module, once per process.
#pragma once

#include <functional>
#include <string>

// The provider module's file name and the path separator of this platform.
extern const char16_t kModuleFileName[];
extern const char16_t kPathSeparator;
// Longest module path, and longest config path, that the reader accepts.
constexpr size_t kMaxModulePath = 260;

// Gives the full path of the loaded provider module, or "" when it is not loaded. The provider
// installs its own; the default looks the module up among the process's mapped files.
void SetModulePathProvider(std::function<std::u16string()> provider);
std::u16string DefaultModulePath();

// Only the first call of the process does anything, and calls that arrive while it reads wait
// for its result; a missing or unreadable file leaves the address as it is.
void ReadServiceConfig();

// Lets a test read the file again within one process.
void ResetServiceConfigForTesting();
