// Recognising DllInstall's "user" argument.
#include "provider/dll_install_argument.h"

bool IsPerUserCommandLine(LPCWSTR commandLine) {
    if (commandLine == nullptr) return false;
    const char16_t kUser[] = u"user";
    for (int i = 0; i < 5; ++i) {
        char16_t c = commandLine[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != kUser[i]) return false;
    }
    return true;
}
