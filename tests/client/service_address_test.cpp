// The service address and the rule by which a login's "location" replaces it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "client/service_address.h"

namespace {

// Gives the process back the address a test found.
class ServiceAddressTest : public ::testing::Test {
  protected:
    void SetUp() override { savedAddress = ServiceAddress::Get(); }
    void TearDown() override { ServiceAddress::Set(savedAddress); }

    std::string savedAddress;
};

// The address is process-wide and other tests set it: a fresh process of this program reads it.
[[noreturn]] void ExitWithTheStartingAddress() {
    const std::string address = ServiceAddress::Get();
    std::fprintf(stderr, "the process starts with %s\n", address.c_str());
    std::exit(address == kDefaultServiceAddress ? 0 : 1);
}

TEST_F(ServiceAddressTest, StartsWithTheBuiltInHttpsAddressOfSchemeAndHost) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ExitWithTheStartingAddress(), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(std::string(kDefaultServiceAddress).rfind("https://", 0), 0u);
    EXPECT_EQ(std::string(kDefaultServiceAddress).find('/', 8), std::string::npos);
}

TEST_F(ServiceAddressTest, LocationAfterSchemeAndHostReplacesTheAddressWhole) {
    EXPECT_EQ(AddressAfterLocation("https://api.tavro.cloud", "https://eu.tavro.cloud"),
              "https://eu.tavro.cloud");
    EXPECT_EQ(AddressAfterLocation(kDefaultServiceAddress, "https://x:9000/p"), "https://x:9000/p");
}

TEST_F(ServiceAddressTest, PortAndBasePathOfTheOldAddressAreCarriedOver) {
    EXPECT_EQ(AddressAfterLocation("https://h:8443", "https://eu.tavro.cloud"),
              "https://eu.tavro.cloud:8443");
    EXPECT_EQ(AddressAfterLocation("https://h:8443/base/v1", "https://eu"),
              "https://eu:8443/base/v1");
    // The tail goes on whatever the location holds.
    EXPECT_EQ(AddressAfterLocation("http://h:80", "http://eu:81"), "http://eu:81:80");
    // No slash at all: the colon is never taken for a port's.
    EXPECT_EQ(AddressAfterLocation("h:80", "http://eu"), "http://eu");
}

TEST_F(ServiceAddressTest, ApplyLocationRewritesUnderTheLock) {
    ServiceAddress::Set("http://old:8080/api");
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([] {
            for (int j = 0; j < 200; ++j) {
                std::string address = ServiceAddress::Get();
                ASSERT_EQ(address.rfind("http://", 0), 0u);
            }
        });
    }
    for (int j = 0; j < 100; ++j) {
        ServiceAddress::ApplyLocation("http://new" + std::to_string(j));
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(ServiceAddress::Get(), "http://new99:8080/api");
}

}  // namespace
