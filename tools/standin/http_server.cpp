// The stand-in's HTTP/1.1 server.
#include "tools/standin/http_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace {

constexpr size_t kMaxConnections = 64;
constexpr size_t kMaxRequestBytes = 64u << 20;
constexpr int kPollMilliseconds = 50;
constexpr size_t kSlowPieces = 4;

const char* ReasonPhrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 400:
            return "Bad Request";
        case 401:
            return "Unauthorized";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        case 503:
            return "Service Unavailable";
        default:
            return "Status";
    }
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string Trim(const std::string& text) {
    size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) {
        return {};
    }
    size_t end = text.find_last_not_of(" \t\r");
    return text.substr(start, end - start + 1);
}

}  // namespace

std::string HttpRequest::Header(const std::string& name) const {
    for (const auto& header : headers) {
        if (SameName(header.first, name)) {
            return header.second;
        }
    }
    return {};
}

size_t HttpRequest::HeaderCount(const std::string& name) const {
    size_t count = 0;
    for (const auto& header : headers) {
        if (SameName(header.first, name)) {
            ++count;
        }
    }
    return count;
}

HttpServer::HttpServer(Handler handler, uint16_t requestedPort) : handler(std::move(handler)) {
    listenSocket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenSocket < 0) {
        throw std::runtime_error("socket failed");
    }
    int yes = 1;
    setsockopt(listenSocket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(requestedPort);
    if (bind(listenSocket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listenSocket, 128) != 0 || pipe2(wakePipe, O_CLOEXEC) != 0) {
        int error = errno;
        close(listenSocket);
        throw std::runtime_error(std::string("cannot listen: ") + std::to_string(error));
    }
    socklen_t length = sizeof address;
    getsockname(listenSocket, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    acceptThread = std::thread([this] { AcceptLoop(); });
}

HttpServer::~HttpServer() { Stop(); }

void HttpServer::Stop() {
    if (stopping.exchange(true)) {
        return;
    }
    {
        std::lock_guard<std::mutex> guard(lock);
        stopSignal.notify_all();
    }
    char wake = 1;
    (void)!write(wakePipe[1], &wake, 1);
    if (acceptThread.joinable()) {
        acceptThread.join();
    }
    {
        std::lock_guard<std::mutex> guard(lock);
        for (Connection& connection : connections) {
            shutdown(connection.socket, SHUT_RDWR);
        }
    }
    ReapConnections(true);
    close(listenSocket);
    close(wakePipe[0]);
    close(wakePipe[1]);
}

void HttpServer::ReapConnections(bool all) {
    std::list<Connection> finished;
    {
        std::lock_guard<std::mutex> guard(lock);
        for (auto it = connections.begin(); it != connections.end();) {
            if (all || it->done->load()) {
                finished.splice(finished.end(), connections, it++);
            } else {
                ++it;
            }
        }
    }
    for (Connection& connection : finished) {
        connection.thread.join();
        close(connection.socket);
    }
}

void HttpServer::AcceptLoop() {
    while (!stopping.load()) {
        pollfd fds[2] = {{listenSocket, POLLIN, 0}, {wakePipe[0], POLLIN, 0}};
        int ready = poll(fds, 2, 200);
        ReapConnections(false);
        if (ready <= 0 || (fds[0].revents & POLLIN) == 0) {
            continue;
        }
        int socket = accept4(listenSocket, nullptr, nullptr, SOCK_CLOEXEC);
        if (socket < 0) {
            continue;
        }
        std::lock_guard<std::mutex> guard(lock);
        if (stopping.load() || connections.size() >= kMaxConnections) {
            close(socket);
            continue;
        }
        auto done = std::make_shared<std::atomic<bool>>(false);
        connections.push_back(Connection{socket, std::thread([this, socket, done] {
                                             Serve(socket);
                                             done->store(true);
                                         }),
                                         done});
    }
}

bool HttpServer::ReadRequest(int socket, HttpRequest& request) {
    std::string data;
    size_t headerEnd = std::string::npos;
    size_t contentLength = 0;
    char buffer[16384];
    while (true) {
        if (headerEnd == std::string::npos) {
            headerEnd = data.find("\r\n\r\n");
            if (headerEnd != std::string::npos) {
                size_t lineEnd = data.find("\r\n");
                std::string line = data.substr(0, lineEnd);
                size_t first = line.find(' ');
                size_t second = line.find(' ', first + 1);
                if (first == std::string::npos || second == std::string::npos) {
                    return false;
                }
                request.method = line.substr(0, first);
                request.target = line.substr(first + 1, second - first - 1);
                size_t question = request.target.find('?');
                request.path = request.target.substr(0, question);
                if (question != std::string::npos) {
                    request.query = request.target.substr(question + 1);
                }
                size_t at = lineEnd + 2;
                while (at < headerEnd) {
                    size_t end = data.find("\r\n", at);
                    std::string header = data.substr(at, end - at);
                    size_t colon = header.find(':');
                    if (colon != std::string::npos) {
                        request.headers.emplace_back(header.substr(0, colon),
                                                     Trim(header.substr(colon + 1)));
                    }
                    at = end + 2;
                }
                std::string length = request.Header("Content-Length");
                contentLength = length.empty() ? 0 : std::strtoul(length.c_str(), nullptr, 10);
                if (contentLength > kMaxRequestBytes) {
                    return false;
                }
            }
        }
        if (headerEnd != std::string::npos && data.size() >= headerEnd + 4 + contentLength) {
            request.body = data.substr(headerEnd + 4, contentLength);
            return true;
        }
        if (data.size() > kMaxRequestBytes) {
            return false;
        }
        pollfd fd{socket, POLLIN, 0};
        int ready = poll(&fd, 1, kPollMilliseconds);
        if (stopping.load()) {
            return false;
        }
        if (ready <= 0) {
            continue;
        }
        ssize_t received = recv(socket, buffer, sizeof buffer, 0);
        if (received <= 0) {
            return false;
        }
        data.append(buffer, static_cast<size_t>(received));
    }
}

bool HttpServer::SendAll(int socket, const char* data, size_t length) {
    while (length > 0) {
        ssize_t sent = send(socket, data, length, MSG_NOSIGNAL);
        if (sent <= 0) {
            if (sent < 0 && errno == EINTR) {
                continue;
            }
            return false;
        }
        data += sent;
        length -= static_cast<size_t>(sent);
    }
    return true;
}

bool HttpServer::Pause(std::chrono::milliseconds pause) {
    std::unique_lock<std::mutex> guard(lock);
    return !stopSignal.wait_for(guard, pause, [this] { return stopping.load(); });
}

void HttpServer::Deliver(int socket, const HttpResponse& response) {
    if (response.delivery == HttpDelivery::kNoAnswer) {
        std::unique_lock<std::mutex> guard(lock);
        stopSignal.wait(guard, [this] { return stopping.load(); });
        return;
    }
    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " +
                       ReasonPhrase(response.status) + "\r\n";
    head += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    if (!response.contentType.empty()) {
        head += "Content-Type: " + response.contentType + "\r\n";
    }
    for (const auto& header : response.headers) {
        head += header.first + ": " + header.second + "\r\n";
    }
    head += "Connection: close\r\n\r\n";
    if (response.delivery == HttpDelivery::kNormal) {
        std::string whole = head + response.body;
        SendAll(socket, whole.data(), whole.size());
    } else {
        if (!SendAll(socket, head.data(), head.size())) {
            return;
        }
        size_t piece = (response.body.size() + kSlowPieces - 1) / kSlowPieces;
        for (size_t at = 0; at < response.body.size(); at += piece) {
            if (!Pause(response.pause)) {
                return;
            }
            size_t length = std::min(piece, response.body.size() - at);
            if (!SendAll(socket, response.body.data() + at, length)) {
                return;
            }
        }
    }
    shutdown(socket, SHUT_WR);
    // Let the client read the answer before the connection goes.
    char drain[512];
    for (int i = 0; i < 40 && !stopping.load(); ++i) {
        pollfd fd{socket, POLLIN, 0};
        if (poll(&fd, 1, kPollMilliseconds) > 0 && recv(socket, drain, sizeof drain, 0) <= 0) {
            break;
        }
    }
}

void HttpServer::Serve(int socket) {
    HttpRequest request;
    if (!ReadRequest(socket, request)) {
        return;
    }
    HttpResponse response;
    try {
        response = handler(request);
    } catch (const std::exception& error) {
        response = HttpResponse();
        response.status = 500;
        response.body = std::string("{\"error\":\"stand-in failure\"}");
    }
    Deliver(socket, response);
}
