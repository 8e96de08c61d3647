// zelmo-standin: serves a model from a JSON data file as the cloud service on 127.0.0.1.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "tools/standin/standin_service.h"

int main(int argc, char** argv) {
    std::string dataFile;
    unsigned long port = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc) {
            port = std::strtoul(argv[++i], nullptr, 10);
        } else if (dataFile.empty() && argv[i][0] != '-') {
            dataFile = argv[i];
        } else {
            dataFile.clear();
            break;
        }
    }
    if (dataFile.empty() || port > 65535) {
        std::fprintf(stderr, "usage: %s DATA_FILE [--port PORT]\n", argv[0]);
        return 2;
    }
    // The service's threads inherit the mask, so only sigwait below sees these.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    try {
        StandinService service(StandinService::ReadFile(dataFile), static_cast<uint16_t>(port));
        std::printf("Listening on %s\n", service.GetAddress().c_str());
        std::fflush(stdout);
        int received = 0;
        sigwait(&signals, &received);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zelmo-standin: %s\n", error.what());
        return 1;
    }
    return 0;
}
