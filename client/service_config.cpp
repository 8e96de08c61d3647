// The one-line configuration file that names the service's address.
#include "client/service_config.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <utility>

#include "client/service_address.h"
#include "client/wide_text.h"

const char16_t kModuleFileName[] = u"ZelmoProvider.so";
const char16_t kPathSeparator = u'/';

namespace {

const char16_t kConfigFileName[] = u"config.txt";
constexpr size_t kLineBufferSize = 1024;

// The lock is held across the whole read: a caller that arrives meanwhile waits for the configured
// address instead of going on with the built-in one.
struct ReadState {
    std::mutex lock;
    bool done = false;
};

ReadState& ConfigRead() {
    static auto* state = new ReadState();
    return *state;
}

struct ProviderState {
    std::mutex lock;
    std::function<std::u16string()> provider = DefaultModulePath;
};

ProviderState& Providers() {
    static auto* state = new ProviderState();
    return *state;
}

std::u16string ModulePath() {
    std::function<std::u16string()> provider;
    {
        ProviderState& state = Providers();
        std::lock_guard<std::mutex> guard(state.lock);
        provider = state.provider;
    }
    return provider ? provider() : std::u16string();
}

}  // namespace

void SetModulePathProvider(std::function<std::u16string()> provider) {
    ProviderState& state = Providers();
    std::lock_guard<std::mutex> guard(state.lock);
    state.provider = std::move(provider);
}

std::u16string DefaultModulePath() {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    std::string suffix = Utf16ToUtf8(std::u16string(1, kPathSeparator) + kModuleFileName);
    while (std::getline(maps, line)) {
        size_t start = line.find(Utf16ToUtf8(std::u16string(1, kPathSeparator)));
        if (start == std::string::npos) {
            continue;
        }
        std::string path = line.substr(start);
        if (path.size() >= suffix.size() &&
            path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0) {
            return Utf8ToUtf16(path);
        }
    }
    return {};
}

void ReadServiceConfig() {
    ReadState& state = ConfigRead();
    std::lock_guard<std::mutex> guard(state.lock);
    if (state.done) {
        return;
    }
    state.done = true;
    try {
        std::u16string path = ModulePath();
        if (path.empty() || path.size() > kMaxModulePath) {
            return;
        }
        std::u16string moduleName = std::u16string(1, kPathSeparator) + kModuleFileName;
        size_t at = path.find(moduleName);
        if (at == std::u16string::npos) {
            return;
        }
        path.resize(at);
        std::u16string configName = std::u16string(1, kPathSeparator) + kConfigFileName;
        if (path.size() + configName.size() >= kMaxModulePath) {
            return;
        }
        path += configName;

        std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(Utf16ToUtf8(path).c_str(), "r"),
                                                   std::fclose);
        if (!file) {
            return;
        }
        std::array<char, kLineBufferSize> line{};
        if (std::fgets(line.data(), static_cast<int>(line.size()), file.get()) == nullptr) {
            return;
        }
        // The bytes stand as read, up to the first NUL, without the line break. A CR before it
        // goes too: the file may come from a system whose text mode would have removed it. When
        // the CR fills the buffer, its LF is the next byte, and text mode would have read the pair
        // as one line break.
        size_t length = std::strlen(line.data());
        if (length > 0 && line[length - 1] == '\n') {
            --length;
            if (length > 0 && line[length - 1] == '\r') {
                --length;
            }
        } else if (length == line.size() - 1 && line[length - 1] == '\r' &&
                   std::fgetc(file.get()) == '\n') {
            --length;
        }
        ServiceAddress::Set(std::string(line.data(), length));
    } catch (const std::exception&) {
        // A failure leaves the address as it was, like a missing file.
    }
}

void ResetServiceConfigForTesting() {
    ReadState& state = ConfigRead();
    std::lock_guard<std::mutex> guard(state.lock);
    state.done = false;
}
