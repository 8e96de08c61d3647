// The failure of one step against the runtime or the provider, carried up to zelmo's main.
#pragma once

#include <stdexcept>
#include <string>

#include "tools/zelmo/failure_text.h"

class ToolFailure : public std::runtime_error {
  public:
    ToolFailure(ToolStep step, HRESULT hr)
        : std::runtime_error(FailureLine(step, hr)), step(step), hr(hr) {}
    // detail names what the step failed on (a column, say).
    ToolFailure(ToolStep step, HRESULT hr, const std::string& detail)
        : std::runtime_error(FailureLine(step, hr) + ": " + detail), step(step), hr(hr) {}

    ToolStep step;
    HRESULT hr;
};

// Throws ToolFailure when hr is a failure code.
inline void CheckStep(HRESULT hr, ToolStep step) {
    if (FAILED(hr)) {
        throw ToolFailure(step, hr);
    }
}
