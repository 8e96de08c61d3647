// A stand-in service in a child process, so that its memory and work stay out of a benchmark's
// figures. Start it before any thread exists.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "tools/standin/standin_service.h"

// Forks a child that serves the data, set up further by setup(StandinService&), until this
// process ends; returns the service's address.
template <typename Setup>
std::string StartServiceProcess(const char* data, Setup setup) {
    int portPipe[2];
    int lifePipe[2];
    if (pipe(portPipe) != 0 || pipe(lifePipe) != 0) std::abort();
    const pid_t child = fork();
    if (child < 0) std::abort();
    if (child == 0) {
        close(portPipe[0]);
        close(lifePipe[1]);
        StandinService service(data);
        setup(service);
        const uint16_t port = service.GetPort();
        if (write(portPipe[1], &port, sizeof port) != sizeof port) _exit(1);
        char ignored;
        while (read(lifePipe[0], &ignored, 1) > 0) {
        }
        _exit(0);
    }
    close(portPipe[1]);
    close(lifePipe[0]);  // the write end stays open for this process's life
    uint16_t port = 0;
    if (read(portPipe[0], &port, sizeof port) != sizeof port) std::abort();
    return "http://127.0.0.1:" + std::to_string(port);
}
