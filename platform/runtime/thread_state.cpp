// Per-thread state of the runtime: the thread locale and the last error code.
#include "com_runtime.h"
#include "module_resources.h"

namespace {

// The en-US locale stands for the user default, as the platform's US English setup reports it.
constexpr LCID kDefaultThreadLocale = 0x0409;

thread_local LCID threadLocale = kDefaultThreadLocale;
thread_local DWORD lastError = ERROR_SUCCESS;

}  // namespace

STDAPI_(LCID) GetThreadLocale() { return threadLocale; }

STDAPI_(BOOL) SetThreadLocale(LCID locale) {
    threadLocale = locale;
    return TRUE;
}

COMRT_API DWORD GetLastError() { return lastError; }

COMRT_API void SetLastError(DWORD dwErrCode) { lastError = dwErrCode; }
