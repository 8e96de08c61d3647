// The login answer: API user, API key and an optional new service address.
#include "client/json_parsers.h"
#include "client/json_readers.h"
#include "client/service_address.h"
#include "client/wide_text.h"

APIAuthToken ParseAPIAuthToken(const web::json::value& answer) {
    const web::json::value& apiUser = JsonField(answer, "apiUser");
    const web::json::value& apiKey = JsonField(answer, "apiKey");
    if (apiUser.is_null() || apiKey.is_null()) {
        return APIAuthToken();
    }
    APIAuthToken token(Utf8ToUtf16(apiUser.as_string()), Utf8ToUtf16(apiKey.as_string()));
    const web::json::value& location = JsonField(answer, "location");
    if (!location.is_null()) {
        ServiceAddress::ApplyLocation(location.as_string());
    }
    return token;
}
