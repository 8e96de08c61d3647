// Points the runtime's registry at a fresh, empty root folder for the lifetime of one test.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "win_registry.h"

class ScratchRegistry {
  public:
    ScratchRegistry() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && base[0] != 0 ? base : "/tmp") +
                              "/comrt-registry-test-XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr) root_ = pattern;
        ::setenv(COMRT_REGISTRY_ROOT_VARIABLE, root_.c_str(), 1);
    }
    ~ScratchRegistry() {
        ::unsetenv(COMRT_REGISTRY_ROOT_VARIABLE);
        std::error_code ignored;
        if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
    }
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    const std::string& Root() const { return root_; }
    std::string HivePath(const char* name) const { return root_ + "/" + name; }

  private:
    std::string root_;
};
