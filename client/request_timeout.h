// The time-out of every service request: 300 s, changeable so that tests need not wait that long.
#pragma once

#include <chrono>

constexpr std::chrono::milliseconds kDefaultRequestTimeout{300 * 1000};

class RequestTimeout {
  public:
    static std::chrono::milliseconds Get();
    static void Set(std::chrono::milliseconds timeout);
};
