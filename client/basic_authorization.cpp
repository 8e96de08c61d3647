// Basic authorisation header values.
#include "client/basic_authorization.h"

#include <cpprest/asyncrt_utils.h>

#include <vector>

#include "client/wide_text.h"

std::u16string MakeBasicAuthorization(const std::u16string& user, const std::u16string& secret) {
    std::u16string pair = user + u":" + secret;
    std::vector<unsigned char> bytes;
    bytes.reserve(pair.size());
    for (char16_t unit : pair) {
        bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
    }
    return u"Basic " + Utf8ToUtf16(utility::conversions::to_base64(bytes));
}
