// The stand-in service's routes, data and faults.
#include "tools/standin/standin_service.h"

#include <cpprest/asyncrt_utils.h>
#include <cpprest/json.h>

#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <stdexcept>

#include "tools/standin/gzip_text.h"

using web::json::value;

struct StandinService::State {
    mutable std::mutex lock;
    value data = value::object();
    std::map<std::string, std::string> mdxTexts;
    std::map<std::string, std::string> mdxBodies;
    std::map<std::string, StandinFault> faults;
    std::vector<HttpRequest> requests;
};

namespace {

const value kNull;

const value& Field(const value& object, const char* key) {
    if (!object.is_object()) {
        return kNull;
    }
    auto it = object.as_object().find(key);
    return it == object.as_object().end() ? kNull : it->second;
}

std::string Text(const value& v) {
    if (v.is_string()) {
        return v.as_string();
    }
    if (v.is_number()) {
        return v.serialize();
    }
    return {};
}

const value* FindByKeys(const value& list, const std::string& key, const char* first,
                        const char* second) {
    if (!list.is_array()) {
        return nullptr;
    }
    for (const value& element : list.as_array()) {
        const value& a = Field(element, first);
        const value& b = Field(element, second);
        if ((!a.is_null() && Text(a) == key) || (!b.is_null() && Text(b) == key)) {
            return &element;
        }
    }
    return nullptr;
}

value Without(const value& object, std::initializer_list<const char*> keys) {
    value copy = object;
    if (copy.is_object()) {
        for (const char* key : keys) {
            if (copy.has_field(key)) {
                copy.erase(key);
            }
        }
    }
    return copy;
}

value ListWithout(const value& list, std::initializer_list<const char*> keys) {
    value out = value::array();
    if (list.is_array()) {
        size_t i = 0;
        for (const value& element : list.as_array()) {
            out[i++] = Without(element, keys);
        }
    }
    return out;
}

HttpResponse Json(int status, const value& body) {
    HttpResponse response;
    response.status = status;
    response.body = body.serialize();
    return response;
}

HttpResponse Error(int status, const std::string& message) {
    value body = value::object();
    body["error"] = value::string(message);
    return Json(status, body);
}

std::vector<std::string> Split(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(path);
    while (std::getline(stream, part, '/')) {
        if (!part.empty()) {
            parts.push_back(part);
        }
    }
    return parts;
}

// The user and secret of a Basic authorisation, or false when there is none.
bool DecodeBasic(const std::string& header, std::string& user, std::string& secret) {
    const std::string prefix = "Basic ";
    if (header.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    std::vector<unsigned char> bytes;
    try {
        bytes = utility::conversions::from_base64(header.substr(prefix.size()));
    } catch (const std::exception&) {
        return false;
    }
    std::string pair(bytes.begin(), bytes.end());
    size_t colon = pair.find(':');
    if (colon == std::string::npos) {
        return false;
    }
    user = pair.substr(0, colon);
    secret = pair.substr(colon + 1);
    return true;
}

void ApplyFault(const StandinFault& fault, bool gzipped, HttpResponse& response) {
    auto compressed = [&] { return gzipped ? response.body : GzipText(response.body); };
    switch (fault.kind) {
        case StandinFaultKind::kErrorStatus:
            response.status = fault.status;
            response.body = fault.body;
            response.contentType = "application/json";
            break;
        case StandinFaultKind::kNotJson:
            response.status = 200;
            response.body = "<html><body>Service unavailable</body></html>";
            response.contentType = "text/html";
            break;
        case StandinFaultKind::kDamagedGzip:
            response.body = DamageGzip(compressed());
            break;
        case StandinFaultKind::kTruncatedGzip: {
            std::string body = compressed();
            response.body = body.substr(0, body.size() / 2);
            break;
        }
        case StandinFaultKind::kTrailerTooLarge: {
            std::string body = compressed();
            response.body = WithGzipSizeTrailer(body, GzipSizeTrailer(body) + 100);
            break;
        }
        case StandinFaultKind::kTrailerTooSmall: {
            std::string body = compressed();
            response.body = WithGzipSizeTrailer(body, GzipSizeTrailer(body) / 2);
            break;
        }
        case StandinFaultKind::kSlowBody:
            response.delivery = HttpDelivery::kSlowBody;
            response.pause = fault.delay;
            break;
        case StandinFaultKind::kNoAnswer:
            response.delivery = HttpDelivery::kNoAnswer;
            break;
    }
}

}  // namespace

StandinService::StandinService(const std::string& data, uint16_t port)
    : state(std::make_unique<State>()) {
    SetData(data);
    server = std::make_unique<HttpServer>([this](const HttpRequest& r) { return Handle(r); }, port);
}

StandinService::~StandinService() { server.reset(); }

std::string StandinService::ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

uint16_t StandinService::GetPort() const { return server->GetPort(); }

std::string StandinService::GetAddress() const {
    return "http://127.0.0.1:" + std::to_string(GetPort());
}

void StandinService::SetData(const std::string& data) {
    value parsed = value::parse(data);
    if (!parsed.is_object()) {
        throw std::runtime_error("stand-in data must be a JSON object");
    }
    std::lock_guard<std::mutex> guard(state->lock);
    state->data = parsed;
    state->mdxTexts.clear();
    const value& mdx = Field(parsed, "mdx");
    if (mdx.is_array()) {
        for (const value& entry : mdx.as_array()) {
            state->mdxTexts[Text(Field(entry, "query"))] = Field(entry, "answer").serialize();
        }
    }
}

void StandinService::AddUser(const std::string& user, const std::string& password,
                             const std::string& apiUser, const std::string& apiKey) {
    value entry = value::object();
    entry["user"] = value::string(user);
    entry["password"] = value::string(password);
    entry["apiUser"] = value::string(apiUser);
    entry["apiKey"] = value::string(apiKey);
    std::lock_guard<std::mutex> guard(state->lock);
    value& users = state->data["users"];
    if (!users.is_array()) {
        users = value::array();
    }
    users[users.size()] = entry;
}

void StandinService::SetMdxAnswer(const std::string& query, const std::string& answerText) {
    std::lock_guard<std::mutex> guard(state->lock);
    state->mdxTexts[query] = answerText;
    state->mdxBodies.erase(query);
}

void StandinService::SetMdxBody(const std::string& query, const std::string& body) {
    std::lock_guard<std::mutex> guard(state->lock);
    state->mdxBodies[query] = body;
}

void StandinService::SetFault(const std::string& path, StandinFault fault) {
    std::lock_guard<std::mutex> guard(state->lock);
    state->faults[path] = std::move(fault);
}

void StandinService::ClearFaults() {
    std::lock_guard<std::mutex> guard(state->lock);
    state->faults.clear();
}

std::vector<HttpRequest> StandinService::GetRequests() const {
    std::lock_guard<std::mutex> guard(state->lock);
    return state->requests;
}

void StandinService::ClearRequests() {
    std::lock_guard<std::mutex> guard(state->lock);
    state->requests.clear();
}

HttpResponse StandinService::Handle(const HttpRequest& request) {
    std::lock_guard<std::mutex> guard(state->lock);
    state->requests.push_back(request);
    const value& data = state->data;

    std::string path = request.path;
    std::string basePath = Text(Field(data, "basePath"));
    if (!basePath.empty() && path.compare(0, basePath.size(), basePath) == 0) {
        path = path.substr(basePath.size());
    }
    std::vector<std::string> parts = Split(path);
    bool acceptAny =
        Field(data, "acceptAnyUser").is_boolean() && Field(data, "acceptAnyUser").as_bool();
    std::string user;
    std::string secret;
    bool hasCredentials = DecodeBasic(request.Header("Authorization"), user, secret);

    HttpResponse response;
    bool gzipped = false;
    if (request.method == "POST" && path == "/login") {
        const value* found = nullptr;
        const value& users = Field(data, "users");
        if (hasCredentials && users.is_array()) {
            for (const value& entry : users.as_array()) {
                if (Text(Field(entry, "user")) == user &&
                    Text(Field(entry, "password")) == secret) {
                    found = &entry;
                }
            }
        }
        if (found == nullptr && !(hasCredentials && acceptAny)) {
            response = Error(401, "invalid user name or password");
        } else {
            value answer = value::object();
            answer["apiUser"] =
                value::string(found ? Text(Field(*found, "apiUser")) : "api-" + user);
            answer["apiKey"] = value::string(found ? Text(Field(*found, "apiKey")) : "key-" + user);
            const value& location = Field(data, "location");
            if (!location.is_null()) {
                answer["location"] = location;
            }
            response = Json(200, answer);
        }
    } else if (parts.size() < 2 || parts[0] != "api" || parts[1] != "models") {
        response = Error(404, "no such route");
    } else {
        bool authorised = hasCredentials && acceptAny;
        const value& users = Field(data, "users");
        if (!authorised && hasCredentials && users.is_array()) {
            for (const value& entry : users.as_array()) {
                if (Text(Field(entry, "apiUser")) == user &&
                    Text(Field(entry, "apiKey")) == secret) {
                    authorised = true;
                }
            }
        }
        const value& models = Field(data, "models");
        if (!authorised) {
            response = Error(401, "invalid API key");
        } else if (request.method == "POST" && parts.size() == 3 && parts[2] == "mdx") {
            std::string query;
            try {
                query = Text(Field(value::parse(request.body), "query"));
            } catch (const std::exception&) {
            }
            auto body = state->mdxBodies.find(query);
            auto text = state->mdxTexts.find(query);
            if (body != state->mdxBodies.end()) {
                response.body = body->second;
                gzipped = true;
            } else if (text != state->mdxTexts.end()) {
                response.body = GzipText(text->second);
                gzipped = true;
            } else {
                response = Error(400, "unknown MDX statement");
            }
            if (gzipped) {
                response.contentType = "application/json";
                response.headers.emplace_back("Content-Encoding", "gzip");
            }
        } else if (request.method != "GET") {
            response = Error(404, "no such route");
        } else if (parts.size() == 2) {
            response = Json(200, ListWithout(models, {"dimensions", "valuesCsv"}));
        } else {
            const value* model = FindByKeys(models, parts[2], "id", "id");
            const value& dimensions = model ? Field(*model, "dimensions") : kNull;
            if (model == nullptr) {
                response = Error(404, "no such model");
            } else if (parts.size() == 4 && parts[3] == "dimensions") {
                response = Json(200, ListWithout(dimensions, {"levels", "defaultMember"}));
            } else if (parts.size() == 5 && parts[3] == "values" && parts[4] == "csv") {
                response.body = Text(Field(*model, "valuesCsv"));
                response.contentType = "text/csv";
            } else if (parts.size() == 5 && parts[3] == "mdxMember") {
                const value* member = nullptr;
                if (dimensions.is_array()) {
                    for (const value& dimension : dimensions.as_array()) {
                        const value& levels = Field(dimension, "levels");
                        if (!levels.is_array()) {
                            continue;
                        }
                        for (const value& level : levels.as_array()) {
                            const value* found =
                                FindByKeys(Field(level, "members"), parts[4], "id", "id");
                            member = member ? member : found;
                        }
                    }
                }
                response = member ? Json(200, *member) : Error(404, "no such member");
            } else if (parts.size() >= 5 && parts[3] == "dimensions") {
                const value* dimension = FindByKeys(dimensions, parts[4], "number", "id");
                const value& levels = dimension ? Field(*dimension, "levels") : kNull;
                if (dimension == nullptr) {
                    response = Error(404, "no such dimension");
                } else if (parts.size() == 5) {
                    value single = Without(*dimension, {"levels", "allMember"});
                    if (Field(*dimension, "defaultMember").is_null()) {
                        single["defaultMember"] = Field(*dimension, "allMember");
                    }
                    response = Json(200, single);
                } else if (parts.size() == 6 && parts[5] == "levels") {
                    response = Json(200, ListWithout(levels, {"members"}));
                } else if (parts.size() == 8 && parts[5] == "levels" && parts[7] == "members") {
                    const value* level = FindByKeys(levels, parts[6], "id", "number");
                    response = level ? Json(200, Field(*level, "members").is_null()
                                                     ? value::array()
                                                     : Field(*level, "members"))
                                     : Error(404, "no such level");
                } else {
                    response = Error(404, "no such route");
                }
            } else {
                response = Error(404, "no such route");
            }
        }
    }

    auto fault = state->faults.find(path);
    if (fault == state->faults.end()) {
        fault = state->faults.find("");
    }
    if (fault != state->faults.end()) {
        ApplyFault(fault->second, gzipped, response);
    }
    return response;
}
