// Reading the service address from "config.txt" beside the module, once per process.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "client/service_address.h"
#include "client/service_config.h"
#include "client/wide_text.h"

namespace {

class ServiceConfigTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/zelmo-config-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        savedAddress = ServiceAddress::Get();
        ServiceAddress::Set("https://before.example");
        ResetServiceConfigForTesting();
        SetModulePathProvider([this] { return Utf8ToUtf16(folder + "/ZelmoProvider.so"); });
    }
    void TearDown() override {
        std::remove((folder + "/config.txt").c_str());
        rmdir(folder.c_str());
        SetModulePathProvider(DefaultModulePath);
        ResetServiceConfigForTesting();
        ServiceAddress::Set(savedAddress);
    }
    void WriteConfig(const std::string& content) {
        std::ofstream(folder + "/config.txt", std::ios::binary) << content;
    }
    std::string AddressAfterReading(const std::string& content) {
        ServiceAddress::Set("https://before.example");
        ResetServiceConfigForTesting();
        WriteConfig(content);
        ReadServiceConfig();
        return ServiceAddress::Get();
    }

    std::string folder;
    std::string savedAddress;
};

TEST_F(ServiceConfigTest, FirstLineWithOrWithoutLineBreak) {
    EXPECT_EQ(AddressAfterReading("http://127.0.0.1:9000\n"), "http://127.0.0.1:9000");
    EXPECT_EQ(AddressAfterReading("http://127.0.0.1:9000"), "http://127.0.0.1:9000");
    EXPECT_EQ(AddressAfterReading("http://127.0.0.1:9000\r\n"), "http://127.0.0.1:9000");
    EXPECT_EQ(AddressAfterReading("http://a\nhttp://b\n"), "http://a");
    // Bytes stand as read: blanks are kept, a NUL ends the line.
    EXPECT_EQ(AddressAfterReading(" http://a \n"), " http://a ");
    EXPECT_EQ(AddressAfterReading(std::string("http://a\0junk\n", 14)), "http://a");
}

TEST_F(ServiceConfigTest, ByteOrderMarkIsKept) {
    EXPECT_EQ(AddressAfterReading("\xEF\xBB\xBFhttp://a\n"), "\xEF\xBB\xBFhttp://a");
}

TEST_F(ServiceConfigTest, LongLineGivesItsFirst1023Bytes) {
    std::string line = "http://" + std::string(2000, 'h');
    EXPECT_EQ(AddressAfterReading(line + "\n"), line.substr(0, 1023));
}

TEST_F(ServiceConfigTest, CrLfAcrossTheEndOfTheLineBufferIsOneLineBreak) {
    struct Case {
        size_t length;
        std::string after;
        std::string tail;  // what the address keeps after the line's bytes
    };
    for (const Case& c : {Case{1022, "\r\n", ""}, Case{1023, "\r\n", ""}, Case{1022, "\rx\n", "\r"},
                          Case{1022, "\r", "\r"}}) {
        const std::string line(c.length, 'h');
        EXPECT_EQ(AddressAfterReading(line + c.after), line + c.tail)
            << c.length << " bytes and " << c.after.size() << " after";
    }
}

TEST_F(ServiceConfigTest, EmptyFileKeepsTheAddressEmptyFirstLineClearsIt) {
    EXPECT_EQ(AddressAfterReading(""), "https://before.example");
    EXPECT_EQ(AddressAfterReading("\nhttp://second\n"), "");
}

TEST_F(ServiceConfigTest, FileIsReadOnlyOncePerProcess) {
    WriteConfig("http://first\n");
    ReadServiceConfig();
    EXPECT_EQ(ServiceAddress::Get(), "http://first");
    ServiceAddress::Set("http://after-login");
    WriteConfig("http://second\n");
    ReadServiceConfig();
    EXPECT_EQ(ServiceAddress::Get(), "http://after-login");
}

TEST_F(ServiceConfigTest, MissingFileCountsAsTheOneRead) {
    ReadServiceConfig();
    EXPECT_EQ(ServiceAddress::Get(), "https://before.example");
    WriteConfig("http://late\n");
    ReadServiceConfig();
    EXPECT_EQ(ServiceAddress::Get(), "https://before.example");
}

TEST_F(ServiceConfigTest, ModuleUnderAnotherNameOrTooLongPathIsIgnored) {
    WriteConfig("http://a\n");
    SetModulePathProvider([this] { return Utf8ToUtf16(folder + "/OtherProvider.so"); });
    ReadServiceConfig();
    EXPECT_EQ(ServiceAddress::Get(), "https://before.example");

    ResetServiceConfigForTesting();
    SetModulePathProvider([] { return std::u16string(); });
    ReadServiceConfig();
    EXPECT_EQ(ServiceAddress::Get(), "https://before.example");

    // A folder whose "/config.txt" would reach the path limit.
    std::u16string longFolder =
        Utf8ToUtf16(folder) + u"/" + std::u16string(kMaxModulePath - folder.size() - 11, u'd');
    ResetServiceConfigForTesting();
    SetModulePathProvider([longFolder] { return longFolder + u"/ZelmoProvider.so"; });
    ReadServiceConfig();
    EXPECT_EQ(ServiceAddress::Get(), "https://before.example");
}

TEST_F(ServiceConfigTest, DefaultModulePathIsEmptyWithoutTheProviderLoaded) {
    EXPECT_EQ(DefaultModulePath(), u"");
}

TEST_F(ServiceConfigTest, DefaultModulePathFindsTheLoadedProvider) {
    // Any shared library loaded under the provider's file name stands in for it.
    std::string module = folder + "/ZelmoProvider.so";
    {
        std::ifstream from("/lib/x86_64-linux-gnu/libz.so.1", std::ios::binary);
        if (!from) {
            GTEST_SKIP() << "no libz.so.1 to load under the provider's name";
        }
        std::ofstream(module, std::ios::binary) << from.rdbuf();
    }
    void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    SetModulePathProvider(DefaultModulePath);
    EXPECT_EQ(DefaultModulePath(), Utf8ToUtf16(module));
    WriteConfig("http://beside-the-module\n");
    ReadServiceConfig();
    EXPECT_EQ(ServiceAddress::Get(), "http://beside-the-module");
    dlclose(handle);
    std::remove(module.c_str());
}

}  // namespace
