// The request time-out setting.
#include "client/request_timeout.h"

#include <atomic>

namespace {
std::atomic<long long> timeoutMilliseconds{kDefaultRequestTimeout.count()};
}

std::chrono::milliseconds RequestTimeout::Get() {
    return std::chrono::milliseconds(timeoutMilliseconds.load());
}

void RequestTimeout::Set(std::chrono::milliseconds timeout) {
    timeoutMilliseconds.store(timeout.count());
}
