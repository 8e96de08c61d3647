// The request frame: client, request, headers, and the answer read on the calling thread.
#include "client/request_frame.h"

#include <cpprest/containerstream.h>
#include <cpprest/streams.h>
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

namespace {

bool IsSuccessStatus(web::http::status_code status) { return status >= 200 && status <= 299; }

template <typename Bytes>
bool FetchAnswer(const ServiceRequest& request, Bytes& body) {
    body.clear();
    try {
        web::http::client::http_client client = MakeServiceClient();
        web::http::http_request message = MakeServiceRequest(request);
        // The response arrives with its headers; an error status needs no body.
        web::http::http_response response = client.request(message).get();
        if (!IsSuccessStatus(response.status_code())) return false;
        response.content_ready().get();
        concurrency::streams::streambuf<uint8_t> buffer = response.body().streambuf();
        const size_t size = buffer.in_avail();
        body.resize(size);
        const size_t read =
            size == 0 ? 0 : buffer.getn(reinterpret_cast<uint8_t*>(&body[0]), size).get();
        body.resize(read);
        return true;
    } catch (...) {
        Bytes().swap(body);
        return false;
    }
}

}  // namespace

bool FetchServiceAnswer(const ServiceRequest& request, std::string& body) {
    return FetchAnswer(request, body);
}

bool FetchServiceAnswer(const ServiceRequest& request, std::vector<unsigned char>& body) {
    return FetchAnswer(request, body);
}

web::json::value ResponseToJson(std::string body) {
    web::json::value answer = ParseJsonText(body);
    std::string().swap(body);
    return answer;
}

std::u16string ResponseToText(const std::string& body) { return Utf8ToUtf16(body); }
