// A stand-in in-process server for registration tests: its exports append what they were
// called with to the file named by ZELMO_FAKE_MODULE_LOG and answer ZELMO_FAKE_MODULE_RESULT.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "com_base.h"

namespace {

HRESULT Record(const std::string& call) {
    if (const char* log = std::getenv("ZELMO_FAKE_MODULE_LOG")) {
        if (FILE* file = std::fopen(log, "a")) {
            std::fprintf(file, "%s\n", call.c_str());
            std::fclose(file);
        }
    }
    const char* result = std::getenv("ZELMO_FAKE_MODULE_RESULT");
    return result != nullptr ? static_cast<HRESULT>(std::strtoul(result, nullptr, 16)) : S_OK;
}

}  // namespace

STDAPI DllRegisterServer() { return Record("DllRegisterServer"); }

STDAPI DllUnregisterServer() { return Record("DllUnregisterServer"); }

#ifndef FAKE_MODULE_WITHOUT_INSTALL
STDAPI DllInstall(BOOL install, LPCWSTR commandLine) {
    std::string text;
    for (const WCHAR* c = commandLine; c != nullptr && *c != 0; ++c) {
        text += static_cast<char>(*c);
    }
    return Record("DllInstall " + std::to_string(install) + " " +
                  (commandLine != nullptr ? text : "(null)"));
}
#endif
