// The data source's connection settings and the logic that fills and reads them, kept apart from
// the COM class so it can be tested without COM.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "client/member_display_option.h"
#include "oledb.h"

constexpr size_t kCredentialChars = 256;       // 255 characters and the terminator
constexpr size_t kNarrowUserNameBytes = 512;   // GetCredentials' user name buffer
constexpr size_t kNarrowPasswordBytes = 4096;  // GetCredentials' password buffer

// The fields in their declared order: parent window, user name, password, display option.
struct ConnectionSettings {
    HWND parentWindow = nullptr;
    WCHAR userName[kCredentialChars] = {};
    WCHAR password[kCredentialChars] = {};
    int memberDisplayOption = kDefaultMemberDisplayOption;
};

// Copies at most fieldChars - 1 characters of text and a terminator; a null text gives "".
void CopyToField(const WCHAR* text, size_t length, WCHAR* field, size_t fieldChars);

// The integer that "%d" reads at the start of the UTF-8 form of text, or fallback when text does
// not begin with a number (after blanks). Values beyond int saturate.
int ParseLeadingInt(const std::u16string& text, int fallback);

// Walks every DBPROPSET_DBINIT property: password, user id, data source (the member display
// option, reset to 2 first) and window handle; everything else is ignored.
void ReadInitProperties(const DBPROPSET* sets, ULONG setCount, ConnectionSettings& settings);

// No prompt when the user name is given and the login cache already holds it.
bool ShouldPrompt(const ConnectionSettings& settings,
                  const std::function<int(std::u16string)>& hasCachedToken);
bool CredentialsMissing(const ConnectionSettings& settings);

// The multibyte (UTF-8) form of a zero-terminated text in a buffer of size bytes, as wcstombs_s
// makes it: a text that holds an unconvertible unit (a lone surrogate) or does not fit with its
// terminator comes out empty.
void ToNarrow(const WCHAR* text, char* out, size_t size);
