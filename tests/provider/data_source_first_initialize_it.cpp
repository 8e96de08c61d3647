// The first Initialize of a process, made by many threads at once: each thread waits for
// config.txt and logs in at the address it names, never at the built-in one. The file is read
// once per process, so the threads run in a fresh one: a death test of the threadsafe style runs
// this program again.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "provider_fixture.h"

namespace {

constexpr size_t kThreads = 16;

// Replaces config.txt by a pipe that gives its line only a while after the module opened it, so
// that every other thread arrives while the first one is still reading.
std::thread SlowConfigFile(const std::filesystem::path& path, const std::string& line) {
    std::filesystem::remove(path);
    if (::mkfifo(path.c_str(), 0600) != 0) return {};
    return std::thread([path, line] {
        int fd = -1;
        for (int tries = 0; fd < 0 && tries < 500; ++tries) {
            fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);  // fails until a reader opens it
            if (fd < 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (fd < 0) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const ssize_t written = ::write(fd, line.data(), line.size());
        static_cast<void>(written);
        ::close(fd);
    });
}

class FirstInitializeTest : public provider_test::ProviderTest {
  protected:
    // Every thread initialises its own data source once all are ready, then runs a statement,
    // which logs its user in. Exits 0 when every login reached the stand-in.
    [[noreturn]] static void InitializeAtOnceAndExit() {
        std::thread writer =
            SlowConfigFile(provider_test::ProviderProcess::Get().Folder() / "config.txt",
                           Standin().GetAddress() + "\n");
        std::atomic<size_t> arrived{0};
        std::vector<std::thread> threads;
        threads.reserve(kThreads);
        for (size_t i = 0; i < kThreads; ++i) {
            threads.emplace_back([&, i] {
                CComPtr<IDBInitialize> dataSource = CreateDataSource();
                SetCredentials(dataSource, u"user" + std::u16string(1, u'a' + i), u"pw");
                ++arrived;
                while (arrived.load() < kThreads) std::this_thread::yield();
                if (dataSource->Initialize() != S_OK) return;
                CComPtr<ICommandText> command = CreateCommand(OpenSession(dataSource));
                if (command && command->SetCommandText(MDGUID_MDX, u"SELECT") == S_OK)
                    command->Execute(nullptr, IID_NULL, nullptr, nullptr, nullptr);
            });
        }
        for (std::thread& thread : threads) thread.join();
        if (writer.joinable()) writer.join();
        size_t logins = 0;
        for (const HttpRequest& request : Standin().GetRequests())
            if (request.method == "POST" && request.path == "/login") ++logins;
        std::fprintf(stderr, "%zu of %zu logins reached the stand-in\n", logins, kThreads);
        std::exit(logins == kThreads ? 0 : 1);
    }
};

TEST_F(FirstInitializeTest, EveryThreadOfAFreshProcessLogsInAtTheConfiguredAddress) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(InitializeAtOnceAndExit(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
