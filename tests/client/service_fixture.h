// A test fixture that points the client at a fresh stand-in service on an ephemeral port.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "client/request_timeout.h"
#include "client/service_address.h"
#include "client/token_cache.h"
#include "tools/standin/standin_service.h"

// A user the stand-in knows: ann@example.com / secret -> ann-api / ann-key.
constexpr char kUserData[] = R"({"users": [{"user": "ann@example.com", "password": "secret",
                                            "apiUser": "ann-api", "apiKey": "ann-key"}]})";

class ServiceTest : public ::testing::Test {
  protected:
    void StartService(const std::string& data) {
        TokenCache::Instance().ClearForTesting();
        service = std::make_unique<StandinService>(data);
        ServiceAddress::Set(service->GetAddress());
        RequestTimeout::Set(std::chrono::seconds(10));
    }
    void TearDown() override {
        service.reset();
        RequestTimeout::Set(kDefaultRequestTimeout);
    }

    std::unique_ptr<StandinService> service;
};
