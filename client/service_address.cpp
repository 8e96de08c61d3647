// The service address and its location rewrite.
#include "client/service_address.h"

#include <mutex>
#include <utility>

const char kDefaultServiceAddress[] = "https://api.tavro.cloud";

namespace {

struct AddressState {
    std::mutex lock;
    std::string address{kDefaultServiceAddress};
};

AddressState& State() {
    // Never destroyed: a consumer's thread may still log in and rewrite it while the process exits.
    static AddressState* state = new AddressState();
    return *state;
}

}  // namespace

std::string ServiceAddress::Get() {
    AddressState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    return state.address;
}

void ServiceAddress::Set(std::string address) {
    AddressState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    state.address = std::move(address);
}

void ServiceAddress::ApplyLocation(const std::string& location) {
    AddressState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    state.address = AddressAfterLocation(state.address, location);
}

std::string AddressAfterLocation(const std::string& oldAddress, const std::string& location) {
    std::string address = location;
    // A colon after the first slash is a port's ("scheme://host:port/base"); the scheme's colon
    // comes before it.
    size_t firstSlash = oldAddress.find('/');
    size_t lastColon = oldAddress.rfind(':');
    if (firstSlash != std::string::npos && lastColon != std::string::npos &&
        lastColon > firstSlash) {
        address.append(oldAddress, lastColon, std::string::npos);
    }
    return address;
}
