// The MDX request: the statement is posted, and its answer decoded and parsed on the calling
// thread.
#include "client/mdx_query.h"

#include "client/request_frame.h"
#include "client/wide_text.h"

std::unique_ptr<RESTData> ExecuteMdxQuery(const APIAuthToken& token, const char* statement) {
    try {
        ServiceRequest request;
        request.method = web::http::methods::POST;
        request.path = u"/api/models/mdx";
        request.user = token.GetApiUser();
        request.secret = token.GetApiKey();
        request.acceptCompressed = true;
        web::json::value body = web::json::value::object();
        // Decoding and encoding again turns bytes that are not UTF-8 into U+FFFD.
        std::u16string text = Utf8ToUtf16(statement != nullptr ? statement : "");
        body["query"] = web::json::value::string(Utf16ToUtf8(text));
        request.body = std::move(body);
        std::vector<unsigned char> answer;
        if (FetchServiceAnswer(request, answer)) return ParseMdxResult(std::move(answer));
    } catch (const std::exception&) {
    }
    auto failed = std::make_unique<RESTData>();
    failed->SetStatus(0);
    return failed;
}
