// zelmo's command line: register, unregister and query with their options.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class ToolAction { kHelp, kRegister, kUnregister, kQuery };

struct CommandLine {
    ToolAction action = ToolAction::kHelp;
    bool perUser = false;    // register/unregister --user
    std::string modulePath;  // register/unregister PATH
    std::optional<std::string> user;
    std::optional<std::string> password;
    std::optional<int> displayOption;  // 0 name, 1 alias, 2 both
    std::string statement;             // the MDX text
};

struct ParsedCommandLine {
    bool ok = false;
    CommandLine commandLine;
    std::string error;  // one line, when !ok
};

// args are the arguments after the program name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();
