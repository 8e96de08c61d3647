// The request frame: client, request, headers and the first continuations.
#include "client/request_frame.h"

#include <cpprest/containerstream.h>
#include <pplx/threadpool.h>

#include <mutex>

#include "client/basic_authorization.h"
#include "client/json_readers.h"
#include "client/request_timeout.h"
#include "client/service_address.h"
#include "client/wide_text.h"

const char16_t kUserAgent[] = u"Mozilla/5.0 (compatible; MSIE 10.0; Windows NT 6.1; Trident/6.0)";

namespace {

// The REST library would otherwise start 40 threads at its first request.
constexpr size_t kWorkerThreads = 4;

void SizeThreadPool() {
    static std::once_flag once;
    std::call_once(once, [] {
        try {
            crossplat::threadpool::initialize_with_threads(kWorkerThreads);
        } catch (const std::exception&) {
            // Someone in the process made the pool first; theirs serves.
        }
    });
}

}  // namespace

web::http::client::http_client MakeServiceClient() {
    SizeThreadPool();
    web::http::client::http_client_config config;
    // No credentials in the configuration: the library would send them as a second
    // Authorization header beside the one the request carries.
    config.set_timeout(
        std::chrono::duration_cast<std::chrono::microseconds>(RequestTimeout::Get()));
    web::uri base(ServiceAddress::Get());
    return web::http::client::http_client(base, config);
}

web::http::http_request MakeServiceRequest(const ServiceRequest& request) {
    web::http::http_request message(request.method);
    if (request.segments.empty()) {
        message.set_request_uri(web::uri(Utf16ToUtf8(request.path)));
    } else {
        web::uri_builder builder(Utf16ToUtf8(request.path));
        for (const std::u16string& segment : request.segments) {
            builder.append_path(Utf16ToUtf8(segment), false);
        }
        // Parsing the built text splits a query out of the last segment, and rejects
        // characters that a URI cannot hold.
        message.set_request_uri(web::uri(builder.to_string()));
    }
    web::http::http_headers& headers = message.headers();
    headers.add(web::http::header_names::authorization,
                Utf16ToUtf8(MakeBasicAuthorization(request.user, request.secret)));
    if (request.acceptCompressed) {
        headers.add(web::http::header_names::accept_encoding, "gzip,deflate");
    }
    headers.add(web::http::header_names::user_agent, Utf16ToUtf8(kUserAgent));
    if (request.body) {
        // A byte container, not the library's string overload, which reads a char buffer
        // through an unsigned char stream.
        std::string text = request.body->serialize();
        std::vector<uint8_t> bytes(text.begin(), text.end());
        size_t length = bytes.size();
        message.set_body(concurrency::streams::container_stream<std::vector<uint8_t>>::open_istream(
                             std::move(bytes)),
                         length, "application/json");
    }
    return message;
}

pplx::task<web::json::value> ResponseToJson(const web::http::http_response& response) {
    return response.extract_vector().then([](std::vector<unsigned char> body) {
        return ParseJsonText(std::string(body.begin(), body.end()));
    });
}

pplx::task<std::u16string> ResponseToText(const web::http::http_response& response) {
    return response.extract_vector().then([](std::vector<unsigned char> body) {
        return Utf8ToUtf16(
            std::string_view(reinterpret_cast<const char*>(body.data()), body.size()));
    });
}
