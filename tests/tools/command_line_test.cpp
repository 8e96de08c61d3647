// Tests of zelmo's argument parsing.
#include "tools/zelmo/command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLineTest, QueryTakesCredentialsDisplayAndStatement) {
    const ParsedCommandLine parsed =
        ParseCommandLine({"query", "--user", "ann@example.com", "--password=s=cret", "--display",
                          "alias", "SELECT {[Time].Members} ON COLUMNS FROM [Plan]"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const CommandLine& line = parsed.commandLine;
    EXPECT_EQ(line.action, ToolAction::kQuery);
    EXPECT_EQ(line.user, "ann@example.com");
    EXPECT_EQ(line.password, "s=cret");
    EXPECT_EQ(line.displayOption, 1);
    EXPECT_EQ(line.statement, "SELECT {[Time].Members} ON COLUMNS FROM [Plan]");
}

TEST(CommandLineTest, QueryWithoutOptionsLeavesThemUnset) {
    const ParsedCommandLine parsed = ParseCommandLine({"query", "SELECT", "FROM", "[Plan]"});
    ASSERT_TRUE(parsed.ok);
    EXPECT_FALSE(parsed.commandLine.user.has_value());
    EXPECT_FALSE(parsed.commandLine.password.has_value());
    EXPECT_FALSE(parsed.commandLine.displayOption.has_value());
    EXPECT_EQ(parsed.commandLine.statement, "SELECT FROM [Plan]");
}

TEST(CommandLineTest, DisplayNamesMapToTheOptionNumbers) {
    EXPECT_EQ(ParseCommandLine({"query", "--display", "name", "x"}).commandLine.displayOption, 0);
    EXPECT_EQ(ParseCommandLine({"query", "--display=both", "x"}).commandLine.displayOption, 2);
    const ParsedCommandLine bad = ParseCommandLine({"query", "--display", "2", "x"});
    EXPECT_FALSE(bad.ok);
    EXPECT_NE(bad.error.find("--display"), std::string::npos);
}

TEST(CommandLineTest, EmptyCredentialsAreKeptAsGiven) {
    const ParsedCommandLine parsed = ParseCommandLine({"query", "--user", "", "--password=", "x"});
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.commandLine.user, "");
    EXPECT_EQ(parsed.commandLine.password, "");
}

TEST(CommandLineTest, DoubleDashLetsTheStatementStartWithADash) {
    const ParsedCommandLine parsed = ParseCommandLine({"query", "--", "--user"});
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.commandLine.statement, "--user");
    EXPECT_FALSE(parsed.commandLine.user.has_value());
}

TEST(CommandLineTest, QueryErrors) {
    EXPECT_FALSE(ParseCommandLine({"query"}).ok);
    EXPECT_FALSE(ParseCommandLine({"query", "--user", "ann"}).ok);
    EXPECT_FALSE(ParseCommandLine({"query", "x", "--password"}).ok);
    EXPECT_FALSE(ParseCommandLine({"query", "--pasword", "p", "x"}).ok);
}

TEST(CommandLineTest, RegistrationTakesOnePathAndAnOptionalUserFlag) {
    ParsedCommandLine parsed = ParseCommandLine({"register", "--user", "bin/ZelmoProvider.so"});
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.commandLine.action, ToolAction::kRegister);
    EXPECT_TRUE(parsed.commandLine.perUser);
    EXPECT_EQ(parsed.commandLine.modulePath, "bin/ZelmoProvider.so");

    parsed = ParseCommandLine({"unregister", "/x/ZelmoProvider.so"});
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.commandLine.action, ToolAction::kUnregister);
    EXPECT_FALSE(parsed.commandLine.perUser);

    EXPECT_FALSE(ParseCommandLine({"register"}).ok);
    EXPECT_FALSE(ParseCommandLine({"register", "a.so", "b.so"}).ok);
    EXPECT_FALSE(ParseCommandLine({"unregister", "--machine", "a.so"}).ok);
}

TEST(CommandLineTest, MetadataCommandsTakeTheirNamesInOrder) {
    struct Case {
        std::vector<std::string> args;
        ToolAction action;
        std::string cube, hierarchy, level;
    };
    const Case cases[] = {
        {{"cubes"}, ToolAction::kCubes, "", "", ""},
        {{"dimensions", "Planning"}, ToolAction::kDimensions, "Planning", "", ""},
        {{"hierarchies", "Planning"}, ToolAction::kHierarchies, "Planning", "", ""},
        {{"levels", "Planning", "[Region <3>]"},
         ToolAction::kLevels,
         "Planning",
         "[Region <3>]",
         ""},
        {{"members", "Planning", "Region", "(All)"},
         ToolAction::kMembers,
         "Planning",
         "Region",
         "(All)"},
        {{"measures", "--", "-Plan"}, ToolAction::kMeasures, "-Plan", "", ""},
    };
    for (const Case& c : cases) {
        const ParsedCommandLine parsed = ParseCommandLine(c.args);
        ASSERT_TRUE(parsed.ok) << c.args[0] << ": " << parsed.error;
        EXPECT_EQ(parsed.commandLine.action, c.action) << c.args[0];
        EXPECT_EQ(parsed.commandLine.cube, c.cube) << c.args[0];
        EXPECT_EQ(parsed.commandLine.hierarchy, c.hierarchy) << c.args[0];
        EXPECT_EQ(parsed.commandLine.level, c.level) << c.args[0];
        EXPECT_FALSE(parsed.commandLine.allColumns);
    }
}

TEST(CommandLineTest, MetadataOptions) {
    ParsedCommandLine parsed =
        ParseCommandLine({"members", "--user=ann", "Planning", "--member",
                          "[Region <3>].[North <301>]", "--all", "--password", "pw"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.commandLine.member, "[Region <3>].[North <301>]");
    EXPECT_EQ(parsed.commandLine.cube, "Planning");
    EXPECT_EQ(parsed.commandLine.user, "ann");
    EXPECT_EQ(parsed.commandLine.password, "pw");
    EXPECT_TRUE(parsed.commandLine.allColumns);
}

TEST(CommandLineTest, MetadataErrorsNameWhatIsWrong) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"dimensions"}, "dimensions: missing CUBE"},
        {{"levels", "Planning"}, "levels: missing HIERARCHY"},
        {{"members", "Planning", "Region"}, "members: missing LEVEL"},
        {{"cubes", "Planning"}, "cubes: unexpected argument 'Planning'"},
        {{"members", "Planning", "Region", "--member", "[x <1>]"},
         "members: unexpected argument 'Region' (--member takes the cube only)"},
        {{"levels", "--member", "x", "Planning", "Region"}, "levels: unknown option --member"},
        {{"cubes", "--display", "name"}, "cubes: unknown option --display"},
        {{"cubes", "--all=yes"}, "cubes: --all takes no value"},
        {{"members", "Planning", "--member"}, "members: --member needs a value"},
    };
    for (const auto& [args, error] : cases) {
        const ParsedCommandLine parsed = ParseCommandLine(args);
        EXPECT_FALSE(parsed.ok) << error;
        EXPECT_EQ(parsed.error, error);
    }
}

TEST(CommandLineTest, HelpAndUnknownCommands) {
    EXPECT_EQ(ParseCommandLine({"--help"}).commandLine.action, ToolAction::kHelp);
    EXPECT_TRUE(ParseCommandLine({"help"}).ok);
    EXPECT_FALSE(ParseCommandLine({}).ok);
    const ParsedCommandLine unknown = ParseCommandLine({"list"});
    EXPECT_FALSE(unknown.ok);
    EXPECT_NE(unknown.error.find("list"), std::string::npos);
}

}  // namespace
