// The MDX request and its two continuations.
#include "client/mdx_query.h"

#include "client/request_frame.h"
#include "client/wide_text.h"

namespace {

// A task result must be copyable; the owned result rides in a shared holder.
using ResultHolder = std::shared_ptr<std::unique_ptr<RESTData>>;

}  // namespace

pplx::task<std::vector<unsigned char>> ExtractMdxResponseBytes(
    const web::http::http_response& response) {
    return response.extract_vector();
}

ResultHolder ParseMdxResponse(std::vector<unsigned char> body) {
    return std::make_shared<std::unique_ptr<RESTData>>(ParseMdxResult(std::move(body)));
}

std::unique_ptr<RESTData> ExecuteMdxQuery(const APIAuthToken& token, const char* statement) {
    ResultHolder holder;
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
        holder = RunServiceRequest(
            request,
            [](const pplx::task<web::http::http_response>& sent) {
                return sent.then(ExtractMdxResponseBytes).then(ParseMdxResponse);
            },
            ResultHolder());
    } catch (const std::exception&) {
    }
    if (holder && *holder) {
        return std::move(*holder);
    }
    auto failed = std::make_unique<RESTData>();
    failed->SetStatus(0);
    return failed;
}
