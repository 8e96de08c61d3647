// Parsing of zelmo's arguments; no option takes effect until the whole line has parsed.
#include "tools/zelmo/command_line.h"

namespace {

ParsedCommandLine Fail(std::string error) {
    ParsedCommandLine parsed;
    parsed.error = std::move(error);
    return parsed;
}

ParsedCommandLine Succeed(CommandLine commandLine) {
    ParsedCommandLine parsed;
    parsed.ok = true;
    parsed.commandLine = std::move(commandLine);
    return parsed;
}

std::optional<int> DisplayOptionFromName(const std::string& name) {
    if (name == "name") return 0;
    if (name == "alias") return 1;
    if (name == "both") return 2;
    return std::nullopt;
}

ParsedCommandLine ParseRegistration(ToolAction action, const std::vector<std::string>& args) {
    CommandLine commandLine;
    commandLine.action = action;
    const char* verb = action == ToolAction::kRegister ? "register" : "unregister";
    bool optionsEnded = false;
    bool havePath = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--user") {
            commandLine.perUser = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return Fail(std::string(verb) + ": unknown option " + arg);
        } else if (havePath) {
            return Fail(std::string(verb) + ": more than one module path");
        } else {
            commandLine.modulePath = arg;
            havePath = true;
        }
    }
    if (!havePath || commandLine.modulePath.empty()) {
        return Fail(std::string(verb) + ": missing module path");
    }
    return Succeed(std::move(commandLine));
}

ParsedCommandLine ParseQuery(const std::vector<std::string>& args) {
    CommandLine commandLine;
    commandLine.action = ToolAction::kQuery;
    std::vector<std::string> words;
    bool optionsEnded = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            words.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        const size_t equals = arg.find('=');
        if (arg.compare(0, 2, "--") == 0 && equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        if (name != "--user" && name != "--password" && name != "--display") {
            return Fail("query: unknown option " + name);
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                return Fail("query: " + name + " needs a value");
            }
            value = args[++i];
        }
        if (name == "--user") {
            commandLine.user = *value;
        } else if (name == "--password") {
            commandLine.password = *value;
        } else {
            commandLine.displayOption = DisplayOptionFromName(*value);
            if (!commandLine.displayOption) {
                return Fail("query: --display takes name, alias or both, not '" + *value + "'");
            }
        }
    }
    for (size_t i = 0; i < words.size(); ++i) {
        commandLine.statement += (i > 0 ? " " : "") + words[i];
    }
    if (commandLine.statement.empty()) {
        return Fail("query: missing MDX statement");
    }
    return Succeed(std::move(commandLine));
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    if (args.empty()) {
        return Fail("missing command");
    }
    const std::string& verb = args[0];
    if (verb == "help" || verb == "--help" || verb == "-h") {
        return Succeed(CommandLine());
    }
    if (verb == "register") {
        return ParseRegistration(ToolAction::kRegister, args);
    }
    if (verb == "unregister") {
        return ParseRegistration(ToolAction::kUnregister, args);
    }
    if (verb == "query") {
        return ParseQuery(args);
    }
    return Fail("unknown command '" + verb + "'");
}

std::string UsageText() {
    return "usage:\n"
           "  zelmo register [--user] PATH      register the provider module at PATH\n"
           "  zelmo unregister [--user] PATH    remove its registration\n"
           "  zelmo query [--user NAME] [--password PW] [--display name|alias|both] MDX\n"
           "                                    run an MDX statement and print the answer\n"
           "--user with register/unregister registers for the current user only. A missing\n"
           "user name or password is asked for on the terminal.\n";
}
