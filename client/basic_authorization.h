// The value of the HTTP Authorization header of every service request.
#pragma once

#include <string>

// "Basic " + Base64(user ":" secret), one byte per UTF-16 unit (its low 8 bits), as the service
// expects.
std::u16string MakeBasicAuthorization(const std::u16string& user, const std::u16string& secret);
