// Tests of module registration through a module's exports, with a stand-in server module.
#include "tools/zelmo/provider_registration.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class ProviderRegistrationTest : public testing::Test {
  protected:
    void SetUp() override {
        log = fs::temp_directory_path() / ("zelmo-registration-" + std::to_string(getpid()));
        fs::remove(log);
        setenv("ZELMO_FAKE_MODULE_LOG", log.c_str(), 1);
        unsetenv("ZELMO_FAKE_MODULE_RESULT");
    }
    void TearDown() override {
        unsetenv("ZELMO_FAKE_MODULE_LOG");
        unsetenv("ZELMO_FAKE_MODULE_RESULT");
        fs::remove(log);
    }
    std::string Calls() const {
        std::ifstream in(log);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path log;
};

TEST_F(ProviderRegistrationTest, MachineRegistrationUsesRegisterAndUnregisterServer) {
    RegistrationOutcome outcome = RunModuleRegistration(ZELMO_FAKE_MODULE, true, false);
    EXPECT_TRUE(outcome.loaded) << outcome.loadError;
    EXPECT_EQ(outcome.hr, S_OK);
    outcome = RunModuleRegistration(ZELMO_FAKE_MODULE, false, false);
    EXPECT_TRUE(outcome.loaded);
    EXPECT_EQ(Calls(), "DllRegisterServer\nDllUnregisterServer\n");
}

TEST_F(ProviderRegistrationTest, PerUserRegistrationPassesUserToDllInstall) {
    EXPECT_TRUE(RunModuleRegistration(ZELMO_FAKE_MODULE, true, true).loaded);
    EXPECT_TRUE(RunModuleRegistration(ZELMO_FAKE_MODULE, false, true).loaded);
    EXPECT_EQ(Calls(), "DllInstall 1 user\nDllInstall 0 user\n");
}

TEST_F(ProviderRegistrationTest, TheModulesAnswerComesBack) {
    setenv("ZELMO_FAKE_MODULE_RESULT", "80070005", 1);
    const RegistrationOutcome outcome = RunModuleRegistration(ZELMO_FAKE_MODULE, true, false);
    EXPECT_TRUE(outcome.loaded);
    EXPECT_EQ(outcome.hr, E_ACCESSDENIED);
}

TEST_F(ProviderRegistrationTest, ARelativePathIsNotLookedUpOnTheLibraryPath) {
    const fs::path module(ZELMO_FAKE_MODULE);
    const fs::path saved = fs::current_path();
    fs::current_path(module.parent_path());
    const RegistrationOutcome outcome =
        RunModuleRegistration(module.filename().string(), true, false);
    fs::current_path(saved);
    EXPECT_TRUE(outcome.loaded) << outcome.loadError;
}

TEST_F(ProviderRegistrationTest, MissingModuleOrExportIsALoadError) {
    RegistrationOutcome outcome = RunModuleRegistration("/nonexistent/Module.so", true, false);
    EXPECT_FALSE(outcome.loaded);
    EXPECT_NE(outcome.loadError.find("/nonexistent/Module.so"), std::string::npos);

    outcome = RunModuleRegistration(ZELMO_FAKE_MODULE_WITHOUT_INSTALL, true, true);
    EXPECT_FALSE(outcome.loaded);
    EXPECT_NE(outcome.loadError.find("does not export DllInstall"), std::string::npos);
    EXPECT_EQ(Calls(), "");
}

TEST_F(ProviderRegistrationTest, AFileThatIsNoModuleIsALoadError) {
    const fs::path text = log.string() + ".so";
    std::ofstream(text) << "not a module";
    const RegistrationOutcome outcome = RunModuleRegistration(text.string(), true, false);
    fs::remove(text);
    EXPECT_FALSE(outcome.loaded);
    EXPECT_NE(outcome.loadError.find("cannot load"), std::string::npos);
}

}  // namespace
