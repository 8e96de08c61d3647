// Time, counted heap and resident peak of one measured step, and the same step run as the first
// of a fresh process (this program started again with arguments). Include it, as the counting
// allocator it brings, in one source file of a benchmark.
#pragma once

#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench/counting_allocator.h"

extern char** environ;

namespace process_figures {

inline double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// A field of /proc/self/status in bytes.
inline double StatusBytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const size_t length = std::strlen(field);
    while (std::getline(status, line))
        if (line.compare(0, length, field) == 0) return std::atof(line.c_str() + length + 1) * 1024;
    return 0;
}

// Returns the heap's free memory to the system and starts a new resident peak at what is
// resident then, where the kernel allows it; returns the baseline that the peak is measured from.
inline double RestartResidentPeak() {
    malloc_trim(0);
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5" << std::flush;
    return clear.good() ? StatusBytes("VmRSS:") : StatusBytes("VmHWM:");
}

// What one run of a step cost.
struct Figures {
    double seconds = 0;
    double heapPeak = 0;  // counted heap above what was live before
    double residentPeak = 0;
    double heldBytes = 0;  // still live on the heap when the step ended
    double extra = 0;      // a figure of the step's own
    bool good = false;
    int runs = 0;  // runs folded in by Keep

    // Folds in another run: the best time and extra figure, the highest peaks and held bytes;
    // good while every run was.
    void Keep(const Figures& run) {
        const bool first = runs++ == 0;
        seconds = first ? run.seconds : std::min(seconds, run.seconds);
        extra = first ? run.extra : std::min(extra, run.extra);
        heapPeak = std::max(heapPeak, run.heapPeak);
        residentPeak = std::max(residentPeak, run.residentPeak);
        heldBytes = std::max(heldBytes, run.heldBytes);
        good = (first || good) && run.good;
    }

    void Print() const {
        std::printf("%.6f %.0f %.0f %.0f %.3f %d\n", seconds, heapPeak, residentPeak, heldBytes,
                    extra, good ? 1 : 0);
        std::fflush(stdout);
    }
    bool Parse(const std::string& text) {
        int ok = 0;
        return std::sscanf(text.c_str(), "%lf %lf %lf %lf %lf %d", &seconds, &heapPeak,
                           &residentPeak, &heldBytes, &extra, &ok) == 6 &&
               (good = ok == 1);
    }
};

// Measures from its construction: Stop takes the time, Peaks the peaks and what is still held.
class Measurement {
  public:
    Measurement()
        : heapBefore(counting_allocator::RestartPeak()),
          residentBefore(RestartResidentPeak()),
          start(std::chrono::steady_clock::now()) {}
    void Stop(Figures& figures) const {
        figures.seconds = Seconds(std::chrono::steady_clock::now() - start);
    }
    void Peaks(Figures& figures) const {
        figures.heapPeak = static_cast<double>(counting_allocator::peakBytes.load() - heapBefore);
        figures.residentPeak = StatusBytes("VmHWM:") - residentBefore;
        figures.heldBytes = static_cast<double>(counting_allocator::liveBytes.load() - heapBefore);
    }

  private:
    long long heapBefore;
    double residentBefore;
    std::chrono::steady_clock::time_point start;
};

// Runs this program again with the arguments and "--fresh=side", and reads the figures it
// prints.
inline Figures MeasureInFreshProcess(std::vector<std::string> arguments, const std::string& side) {
    arguments.push_back("--fresh=" + side);
    Figures figures;
    int output[2];
    if (pipe(output) != 0) return figures;
    std::vector<char*> argv{const_cast<char*>("benchmark")};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    pid_t child = 0;
    const bool spawned =
        posix_spawn(&child, "/proc/self/exe", &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    std::string text;
    char chunk[256];
    for (ssize_t n; (n = read(output[0], chunk, sizeof chunk)) > 0;) text.append(chunk, size_t(n));
    close(output[0]);
    int status = 0;
    if (!spawned || waitpid(child, &status, 0) != child) return figures;
    if (!figures.Parse(text) || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        figures.good = false;
    return figures;
}

}  // namespace process_figures
