// Takes the id out of a unique name such as "[Sales <42>]".
#pragma once

#include <string>

// The text between the first '<' and the first '>' (UTF-8), or "" when there is no such pair.
std::string ExtractIdFromUniqueName(const char16_t* uniqueName);
