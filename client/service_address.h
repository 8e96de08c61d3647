// The process-wide base address of the service, and the rewrite that a login's "location" makes.
#pragma once

#include <string>

// Scheme and host only, as every rewrite rule below expects of the built-in address.
extern const char kDefaultServiceAddress[];

class ServiceAddress {
  public:
    // UTF-8 text; reads and writes are serialised, so a request never sees half an address.
    static std::string Get();
    static void Set(std::string address);
    // Replaces the address by the location, carrying over a port and base path of the old one.
    static void ApplyLocation(const std::string& location);
};

// The address that follows oldAddress after a login answer named location.
std::string AddressAfterLocation(const std::string& oldAddress, const std::string& location);
