// zelmo's command line: register, unregister, query and the metadata commands with their options.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class ToolAction {
    kHelp,
    kRegister,
    kUnregister,
    kQuery,
    kCubes,
    kDimensions,
    kHierarchies,
    kLevels,
    kMembers,
    kMeasures,
};

struct CommandLine {
    ToolAction action = ToolAction::kHelp;
    bool perUser = false;    // register/unregister --user
    std::string modulePath;  // register/unregister PATH
    std::optional<std::string> user;
    std::optional<std::string> password;
    std::optional<int> displayOption;  // 0 name, 1 alias, 2 both
    std::string statement;             // the MDX text
    // The metadata commands' names, as the user typed them.
    std::string cube;
    std::string hierarchy;
    std::string level;
    std::optional<std::string> member;  // members --member UNIQUE_NAME
    bool allColumns = false;            // --all
};

struct ParsedCommandLine {
    bool ok = false;
    CommandLine commandLine;
    std::string error;  // one line, when !ok
};

// args are the arguments after the program name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();
