// A small HTTP/1.1 server over POSIX sockets on 127.0.0.1: one thread accepts, one thread serves
// each connection, and every connection is closed after one answer.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

struct HttpRequest {
    std::string method;
    std::string target;
    std::string path;
    std::string query;
    // In the order received; a name may come more than once.
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    // The first value of the header (names compare without case), or "".
    std::string Header(const std::string& name) const;
    size_t HeaderCount(const std::string& name) const;
};

enum class HttpDelivery {
    kNormal,
    // The status line and headers at once, then the body in pieces with a pause before each.
    kSlowBody,
    // The request is read and never answered; the connection stays open until the server stops.
    kNoAnswer,
};

struct HttpResponse {
    int status = 200;
    std::string contentType = "application/json";
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    HttpDelivery delivery = HttpDelivery::kNormal;
    std::chrono::milliseconds pause{0};
};

class HttpServer {
  public:
    using Handler = std::function<HttpResponse(const HttpRequest&)>;

    // Listens on 127.0.0.1:port; port 0 takes an ephemeral port. Throws when it cannot listen.
    explicit HttpServer(Handler handler, uint16_t port = 0);
    // Stops: closes every connection, including those left unanswered, and joins every thread.
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    uint16_t GetPort() const { return port; }
    void Stop();

  private:
    struct Connection {
        int socket;
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };

    void AcceptLoop();
    void Serve(int socket);
    bool ReadRequest(int socket, HttpRequest& request);
    void Deliver(int socket, const HttpResponse& response);
    bool SendAll(int socket, const char* data, size_t length);
    // Sleeps for the pause unless the server stops first; false when it stops.
    bool Pause(std::chrono::milliseconds pause);
    void ReapConnections(bool all);

    Handler handler;
    int listenSocket = -1;
    int wakePipe[2] = {-1, -1};
    uint16_t port = 0;
    std::atomic<bool> stopping{false};
    std::mutex lock;
    std::condition_variable stopSignal;
    std::list<Connection> connections;
    std::thread acceptThread;
};
