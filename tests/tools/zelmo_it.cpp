// Integration tests of zelmo: the built tool runs as a child process against a private copy of
// the built provider, registered in a scratch registry, and the in-process stand-in service
// serving the sample model; its printed answers are compared with the expected texts.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tools/standin/standin_service.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr const char* kUser = "demo@example.com";
constexpr const char* kPassword = "demo";

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The statement of a sample file, as the model's data keys it: without the final line break.
std::string SampleStatement(const std::string& name) {
    std::string text = ReadText(fs::path(ZELMO_EXAMPLES_DIR) / "queries" / (name + ".mdx"));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

std::vector<std::string> SampleNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(ZELMO_EXAMPLES_DIR) / "queries")) {
        if (entry.path().extension() == ".mdx") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
    std::string terminal;  // what a pseudo-terminal showed
};

class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "zelmo-it-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            path = pattern;
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path.empty()) {
            fs::remove_all(path, ignored);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    fs::path path;
};

// What the terminal shows and what the user types in answer, in turn.
struct TerminalStep {
    std::string waitFor;
    std::string type;
};

// Runs zelmo in a session of its own: without a terminal (so that a missing credential can
// never open a prompt), or with a pseudo-terminal as its controlling terminal that the steps
// answer. stdout and stderr go to files that are read back.
ToolRun RunZelmo(const fs::path& scratch, const fs::path& registryRoot,
                 const std::vector<std::string>& args,
                 const std::vector<TerminalStep>* terminalSteps = nullptr) {
    std::vector<std::string> argvText = {ZELMO_TOOL_PATH};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvText) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    std::vector<std::string> envText;
    bool haveLsanOptions = false;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (text.rfind("COMRT_REGISTRY_ROOT=", 0) == 0) {
            continue;
        }
        haveLsanOptions = haveLsanOptions || text.rfind("LSAN_OPTIONS=", 0) == 0;
        envText.push_back(text);
    }
    envText.push_back("COMRT_REGISTRY_ROOT=" + registryRoot.string());
    if (!haveLsanOptions) {
        envText.push_back("LSAN_OPTIONS=suppressions=" ZELMO_LSAN_SUPPRESSIONS
                          ":print_suppressions=0");
    }
    std::vector<char*> envp;
    for (std::string& entry : envText) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    ToolRun run;
    int master = -1;
    std::string terminalPath = "/dev/null";
    if (terminalSteps != nullptr) {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 ||
            ptsname(master) == nullptr) {
            run.err = "no pseudo-terminal";
            return run;
        }
        terminalPath = ptsname(master);
    }
    const std::string outPath = (scratch / "zelmo.out").string();
    const std::string errPath = (scratch / "zelmo.err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Opened after the new session starts, a terminal becomes the controlling one.
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, terminalPath.c_str(), O_RDWR, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);

    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        run.err = "posix_spawn failed: " + std::to_string(spawned);
        if (master >= 0) {
            close(master);
        }
        return run;
    }
    if (master >= 0) {
        size_t step = 0;
        size_t searchFrom = 0;
        for (;;) {
            pollfd ready = {master, POLLIN, 0};
            if (poll(&ready, 1, 20000) <= 0) {
                break;  // a prompt that never comes: the child's exit status tells the rest
            }
            char buffer[512];
            const ssize_t got = read(master, buffer, sizeof buffer);
            if (got <= 0) {
                break;  // the child has closed the terminal
            }
            run.terminal.append(buffer, static_cast<size_t>(got));
            if (step < terminalSteps->size()) {
                const TerminalStep& next = (*terminalSteps)[step];
                const size_t found = run.terminal.find(next.waitFor, searchFrom);
                if (found != std::string::npos) {
                    searchFrom = found + next.waitFor.size();
                    if (write(master, next.type.data(), next.type.size()) < 0) {
                        break;
                    }
                    ++step;
                }
            }
        }
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (master >= 0) {
        close(master);
    }
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = ReadText(outPath);
    run.err = ReadText(errPath);
    return run;
}

TEST(ZelmoToolTest, BadArgumentsGiveUsageAndExitCodeTwo) {
    ScratchFolder scratch;
    const ToolRun run = RunZelmo(scratch.path, scratch.path / "registry", {"query"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("missing MDX statement"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("usage:"), std::string::npos);
}

TEST(ZelmoToolTest, QueryWithoutARegisteredProviderSaysSo) {
    ScratchFolder scratch;
    const ToolRun run = RunZelmo(scratch.path, scratch.path / "registry",
                                 {"query", "--user", kUser, "--password", kPassword, "SELECT"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("CLSIDFromProgID failed: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("zelmo register"), std::string::npos) << run.err;
}

TEST(ZelmoToolTest, RegisterRefusesAFileThatIsNoModule) {
    ScratchFolder scratch;
    WriteText(scratch.path / "not-a-module.so", "text");
    const ToolRun run = RunZelmo(scratch.path, scratch.path / "registry",
                                 {"register", (scratch.path / "not-a-module.so").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot load"), std::string::npos) << run.err;
}

// A private copy of the provider with its config.txt naming the stand-in, registered per
// machine in a scratch registry root.
class ZelmoQueryTest : public testing::Test {
  protected:
    void SetUp() override {
#ifndef ZELMO_PROVIDER_PATH
        GTEST_SKIP() << "ZelmoProvider is not part of this build yet";
#else
        ASSERT_FALSE(scratch.path.empty());
        moduleFolder = scratch.path / "module";
        registryRoot = scratch.path / "registry";
        fs::create_directories(moduleFolder);
        fs::create_directories(registryRoot);
        modulePath = moduleFolder / "ZelmoProvider.so";
        fs::copy_file(ZELMO_PROVIDER_PATH, modulePath);
        service = std::make_unique<StandinService>(
            StandinService::ReadFile(std::string(ZELMO_EXAMPLES_DIR) + "/planning_model.json"));
        WriteText(moduleFolder / "config.txt", service->GetAddress() + "\n");
        const ToolRun registered = Run({"register", modulePath.string()});
        ASSERT_EQ(registered.exitCode, 0) << registered.err;
#endif
    }

    ToolRun Run(const std::vector<std::string>& args,
                const std::vector<TerminalStep>* terminalSteps = nullptr) {
        return RunZelmo(scratch.path, registryRoot, args, terminalSteps);
    }

    ToolRun Query(const std::string& statement, std::vector<std::string> options = {}) {
        std::vector<std::string> args = {"query", "--user", kUser, "--password", kPassword};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(statement);
        return Run(args);
    }

    ScratchFolder scratch;
    fs::path moduleFolder;
    fs::path registryRoot;
    fs::path modulePath;
    std::unique_ptr<StandinService> service;
};

class ZelmoSampleTest : public ZelmoQueryTest, public testing::WithParamInterface<std::string> {};

TEST_P(ZelmoSampleTest, PrintsTheExpectedGrid) {
    const fs::path expectedPath = fs::path(ZELMO_EXPECTED_DIR) / (GetParam() + ".txt");
    ASSERT_TRUE(fs::exists(expectedPath)) << expectedPath;
    const ToolRun run = Query(SampleStatement(GetParam()));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, ReadText(expectedPath));
}

INSTANTIATE_TEST_SUITE_P(Samples, ZelmoSampleTest, testing::ValuesIn(SampleNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

TEST_F(ZelmoQueryTest, DisplayOptionChoosesNamesOrAliases) {
    const std::string statement = SampleStatement("sales_by_quarter");
    const ToolRun names = Query(statement, {"--display", "name"});
    EXPECT_EQ(names.exitCode, 0) << names.err;
    EXPECT_NE(names.out.find("\nRoad Bike "), std::string::npos) << names.out;
    EXPECT_EQ(names.out.find("RB-100"), std::string::npos) << names.out;

    const ToolRun aliases = Query(statement, {"--display", "alias"});
    EXPECT_EQ(aliases.exitCode, 0) << aliases.err;
    EXPECT_NE(aliases.out.find("\nRB-100 "), std::string::npos) << aliases.out;
    EXPECT_EQ(aliases.out.find("Road Bike"), std::string::npos) << aliases.out;
}

TEST_F(ZelmoQueryTest, AStatementTheServiceDoesNotKnowFailsInExecute) {
    const ToolRun run = Query("SELECT FROM [Nowhere]");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Execute failed: E_FAIL (0x80004005): the service at " +
                           service->GetAddress() + " gave no usable answer"),
              std::string::npos)
        << run.err;
}

TEST_F(ZelmoQueryTest, AWrongPasswordFailsInExecute) {
    const ToolRun run =
        Run({"query", "--user", kUser, "--password", "wrong", SampleStatement("version_totals")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Execute failed: E_FAIL"), std::string::npos) << run.err;
}

TEST_F(ZelmoQueryTest, AMissingPasswordWithoutTerminalIsACancelledPrompt) {
    const ToolRun run = Run({"query", "--user", kUser, SampleStatement("version_totals")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Initialize failed: E_INVALIDARG (0x80070057): the credentials "
                           "prompt was cancelled or no terminal was available"),
              std::string::npos)
        << run.err;
}

TEST_F(ZelmoQueryTest, AMissingPasswordIsAskedForOnTheTerminal) {
    const std::vector<TerminalStep> steps = {{"User name: ", "\r"}, {"Password: ", "demo\r"}};
    const ToolRun run = Run({"query", "--user", kUser, SampleStatement("version_totals")}, &steps);
    EXPECT_NE(run.terminal.find("Tavro Cloud Login"), std::string::npos) << run.terminal;
    EXPECT_NE(run.terminal.find(kUser), std::string::npos) << run.terminal;
    EXPECT_EQ(run.terminal.find("demo\r"), std::string::npos) << "the password was echoed";
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, ReadText(fs::path(ZELMO_EXPECTED_DIR) / "version_totals.txt"));
}

TEST_F(ZelmoQueryTest, EscapeOnTheTerminalCancelsThePrompt) {
    const std::vector<TerminalStep> steps = {{"User name: ", "\x1b"}};
    const ToolRun run = Run({"query", SampleStatement("version_totals")}, &steps);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Initialize failed: E_INVALIDARG"), std::string::npos) << run.err;
}

TEST_F(ZelmoQueryTest, UnregisteredProviderIsNotFoundAndPerUserRegistrationWorks) {
    ToolRun run = Run({"unregister", modulePath.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    run = Query(SampleStatement("version_totals"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("zelmo register"), std::string::npos) << run.err;

    run = Run({"register", "--user", modulePath.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("for the current user"), std::string::npos);
    run = Query(SampleStatement("version_totals"));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, ReadText(fs::path(ZELMO_EXPECTED_DIR) / "version_totals.txt"));
    EXPECT_EQ(Run({"unregister", "--user", modulePath.string()}).exitCode, 0);
}

// Each command reads the rowsets above its own first, so every table here needs the provider's
// order within one session.
TEST_F(ZelmoQueryTest, MetadataCommandsPrintTheSampleModel) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"cubes"}, "cubes"},
        {{"cubes", "--all"}, "cubes_all"},
        {{"dimensions", "Planning"}, "dimensions"},
        {{"hierarchies", "planning"}, "hierarchies"},
        {{"levels", "Planning", "[Time <1>]"}, "levels_time"},
        {{"members", "Planning", "Product", "level 2"}, "members_products"},
        {{"members", "Planning", "region", "(All)"}, "members_all_regions"},
        {{"members", "Planning", "--member", "[Region <3>].[All Regions <300>].[North <301>]"},
         "member_north"},
        {{"measures", "Planning"}, "measures"},
    };
    for (const auto& [args, expected] : cases) {
        std::vector<std::string> line = args;
        line.insert(line.end(), {"--user", kUser, "--password", kPassword});
        const ToolRun run = Run(line);
        EXPECT_EQ(run.exitCode, 0) << expected << ": " << run.err;
        EXPECT_EQ(run.err, "") << expected;
        EXPECT_EQ(run.out, ReadText(fs::path(ZELMO_EXPECTED_DIR) / "browse" / (expected + ".txt")))
            << expected;
    }
}

TEST_F(ZelmoQueryTest, MetadataNamesThatFindNothingFailWithOneLine) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"dimensions", "Nowhere", "--password", kPassword}, "no cube 'Nowhere'; known: Planning"},
        {{"levels", "Planning", "Regio", "--password", kPassword},
         "no hierarchy 'Regio' in cube 'Planning'; known: Time, Product, Region, Version, "
         "Measures"},
        {{"members", "Planning", "Product", "Product", "--password", kPassword},
         "no level 'Product' of [Product <2>] in cube 'Planning'; known: (All), Level 1, Level 2"},
        {{"members", "Planning", "--member", "[Region <3>].[Nowhere <999>]", "--password",
          kPassword},
         "no member '[Region <3>].[Nowhere <999>]' in cube 'Planning'"},
    };
    for (const auto& [args, error] : cases) {
        std::vector<std::string> line = args;
        line.insert(line.end(), {"--user", kUser});
        const ToolRun run = Run(line);
        EXPECT_EQ(run.exitCode, 1) << error;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "zelmo: " + error + "\n");
    }
}

// The provider cannot tell a refused login from a service it could not reach, so the line names
// both and the address config.txt gives.
TEST_F(ZelmoQueryTest, AFailedLoginNamesBothCausesAndTheConfiguredAddress) {
    // A port bound and not listening refuses every connection.
    const int closedPort = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in bound{};
    bound.sin_family = AF_INET;
    bound.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof bound;
    ASSERT_EQ(bind(closedPort, reinterpret_cast<sockaddr*>(&bound), sizeof bound), 0);
    ASSERT_EQ(getsockname(closedPort, reinterpret_cast<sockaddr*>(&bound), &length), 0);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {service->GetAddress(), "wrong"},
        {"http://127.0.0.1:" + std::to_string(ntohs(bound.sin_port)), kPassword},
    };
    for (const auto& [address, password] : cases) {
        WriteText(moduleFolder / "config.txt", address + "\n");
        const ToolRun run = Run({"cubes", "--user", kUser, "--password", password});
        EXPECT_EQ(run.exitCode, 1) << address;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err,
                  "zelmo: GetRowset failed: E_ACCESSDENIED (0x80070005): the login failed: the "
                  "service at " +
                      address +
                      " could not be reached, or it refused the user name and password\n");
    }
    close(closedPort);
}

TEST_F(ZelmoQueryTest, MetadataCommandsAskForAMissingPasswordOnTheTerminal) {
    const std::vector<TerminalStep> steps = {{"User name: ", "\r"}, {"Password: ", "demo\r"}};
    const ToolRun run = Run({"cubes", "--user", kUser}, &steps);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, ReadText(fs::path(ZELMO_EXPECTED_DIR) / "browse" / "cubes.txt"));
}

TEST_F(ZelmoQueryTest, AnswerWithoutAxesIsOneCell) {
    service->SetMdxAnswer("SELECT FROM [Planning]",
                          R"({"values": {"numRows": 1, "numColumns": 1, "values": ["4539.7"]},
                              "axes": []})");
    const ToolRun run = Query("SELECT FROM [Planning]");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "4539.7\n");
}

TEST_F(ZelmoQueryTest, DrillThroughTextsUpTo255CharactersPrintWhole) {
    const std::string text(200, 'y');
    service->SetMdxAnswer("LONG", R"({"drillThrough": true, "drillThroughResult": {"values": [[")" +
                                      text + R"(", "2.5"]], "numRows": 1, "numColumns": 2,
                                      "header": ["Note", "Amount"]}})");
    const ToolRun run = Query("LONG");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find(text + "     2.5\n"), std::string::npos) << run.out;
}

TEST_F(ZelmoQueryTest, AThirdAxisGivesOneGridPerPage) {
    const std::string member = R"({"id": "%ID%", "name": "%NAME%", "dimensionNumber": %DIM%,
        "positions": [{"mdxParentMemberId": null, "level": 1, "levelName": "L"}]})";
    auto make = [&](const char* id, const char* name, const char* dim) {
        std::string text = member;
        text.replace(text.find("%ID%"), 4, id);
        text.replace(text.find("%NAME%"), 6, name);
        text.replace(text.find("%DIM%"), 5, dim);
        return text;
    };
    auto axis = [&](const char* type, const char* dimension, const std::string& members) {
        return std::string(R"({"type": ")") + type +
               R"(", "dimensions": [{"dimensionNumber": 1, "dimensionName": ")" + dimension +
               R"(", "memberParentUniqueName": false, "memberName": false, "memberType": false,
               "members": [)" +
               members + "]}]}";
    };
    const std::string answer =
        R"({"values": {"numRows": 4, "numColumns": 2,
                       "values": ["1", "2", "3", "4", "5", "6", "7", "8"]}, "axes": [)" +
        axis("COLUMNS", "Version", make("401", "Actual", "4") + "," + make("402", "Plan", "4")) +
        "," + axis("ROWS", "Region", make("301", "North", "3") + "," + make("303", "South", "3")) +
        "," +
        axis("PAGES", "Time", make("121", "Q1 2025", "1") + "," + make("122", "Q2 2025", "1")) +
        "]}";
    service->SetMdxAnswer("PAGES", answer);
    const ToolRun run = Query("PAGES");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "PAGES: Q1 2025\n"
              "Region  Actual  Plan\n"
              "------  ------  ----\n"
              "North        1     2\n"
              "South        3     4\n"
              "\n"
              "PAGES: Q2 2025\n"
              "Region  Actual  Plan\n"
              "------  ------  ----\n"
              "North        5     6\n"
              "South        7     8\n");
}

}  // namespace
