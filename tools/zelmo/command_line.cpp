// Parsing of zelmo's arguments; no option takes effect until the whole line has parsed.
#include "tools/zelmo/command_line.h"

#include <algorithm>

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

struct OptionSpec {
    const char* name;
    bool takesValue;
};

constexpr OptionSpec kUserOption = {"--user", true};
constexpr OptionSpec kPasswordOption = {"--password", true};
constexpr OptionSpec kDisplayOption = {"--display", true};
constexpr OptionSpec kAllOption = {"--all", false};
constexpr OptionSpec kMemberOption = {"--member", true};

// Stores one option's value; an error text when the value is not one the option takes.
std::string ApplyOption(const std::string& name, const std::string& value,
                        CommandLine& commandLine) {
    if (name == kUserOption.name) {
        commandLine.user = value;
    } else if (name == kPasswordOption.name) {
        commandLine.password = value;
    } else if (name == kDisplayOption.name) {
        commandLine.displayOption = DisplayOptionFromName(value);
        if (!commandLine.displayOption) {
            return "--display takes name, alias or both, not '" + value + "'";
        }
    } else if (name == kAllOption.name) {
        commandLine.allColumns = true;
    } else if (name == kMemberOption.name) {
        commandLine.member = value;
    }
    return {};
}

// Applies the options of args[1..] that the verb allows ("--name value" or "--name=value") and
// collects the other arguments, in order, into words; "--" ends the options. Empty on success,
// else the error without the verb.
std::string ParseOptions(const std::vector<std::string>& args,
                         const std::vector<OptionSpec>& allowed, CommandLine& commandLine,
                         std::vector<std::string>& words) {
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
        const auto spec =
            std::find_if(allowed.begin(), allowed.end(),
                         [&](const OptionSpec& option) { return name == option.name; });
        if (spec == allowed.end()) {
            return "unknown option " + name;
        }
        if (!spec->takesValue && value) {
            return name + " takes no value";
        }
        if (spec->takesValue && !value) {
            if (i + 1 >= args.size()) {
                return name + " needs a value";
            }
            value = args[++i];
        }
        std::string error = ApplyOption(name, value.value_or(""), commandLine);
        if (!error.empty()) {
            return error;
        }
    }
    return {};
}

ParsedCommandLine ParseQuery(const std::vector<std::string>& args) {
    CommandLine commandLine;
    commandLine.action = ToolAction::kQuery;
    std::vector<std::string> words;
    const std::string error =
        ParseOptions(args, {kUserOption, kPasswordOption, kDisplayOption}, commandLine, words);
    if (!error.empty()) {
        return Fail("query: " + error);
    }
    for (size_t i = 0; i < words.size(); ++i) {
        commandLine.statement += (i > 0 ? " " : "") + words[i];
    }
    if (commandLine.statement.empty()) {
        return Fail("query: missing MDX statement");
    }
    return Succeed(std::move(commandLine));
}

// A metadata command: its verb and the names it takes, in order.
struct BrowseVerb {
    const char* verb;
    ToolAction action;
    std::vector<const char*> names;
};

const std::vector<BrowseVerb>& BrowseVerbs() {
    static const std::vector<BrowseVerb> verbs = {
        {"cubes", ToolAction::kCubes, {}},
        {"dimensions", ToolAction::kDimensions, {"CUBE"}},
        {"hierarchies", ToolAction::kHierarchies, {"CUBE"}},
        {"levels", ToolAction::kLevels, {"CUBE", "HIERARCHY"}},
        {"members", ToolAction::kMembers, {"CUBE", "HIERARCHY", "LEVEL"}},
        {"measures", ToolAction::kMeasures, {"CUBE"}},
    };
    return verbs;
}

ParsedCommandLine ParseBrowse(const BrowseVerb& browse, const std::vector<std::string>& args) {
    CommandLine commandLine;
    commandLine.action = browse.action;
    std::vector<OptionSpec> allowed = {kUserOption, kPasswordOption, kAllOption};
    if (browse.action == ToolAction::kMembers) {
        allowed.push_back(kMemberOption);
    }
    std::vector<std::string> words;
    const std::string verb = browse.verb;
    const std::string error = ParseOptions(args, allowed, commandLine, words);
    if (!error.empty()) {
        return Fail(verb + ": " + error);
    }
    // A member named by its unique name needs only its cube.
    const size_t wanted = commandLine.member ? 1 : browse.names.size();
    if (words.size() < wanted) {
        return Fail(verb + ": missing " + browse.names[words.size()]);
    }
    if (words.size() > wanted) {
        return Fail(verb + ": unexpected argument '" + words[wanted] + "'" +
                    (commandLine.member ? " (--member takes the cube only)" : ""));
    }
    std::string* fields[] = {&commandLine.cube, &commandLine.hierarchy, &commandLine.level};
    for (size_t i = 0; i < words.size(); ++i) {
        *fields[i] = words[i];
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
    for (const BrowseVerb& browse : BrowseVerbs()) {
        if (verb == browse.verb) {
            return ParseBrowse(browse, args);
        }
    }
    return Fail("unknown command '" + verb + "'");
}

std::string UsageText() {
    return "usage:\n"
           "  zelmo register [--user] PATH      register the provider module at PATH\n"
           "  zelmo unregister [--user] PATH    remove its registration\n"
           "  zelmo query [--user NAME] [--password PW] [--display name|alias|both] MDX\n"
           "                                    run an MDX statement and print the answer\n"
           "  zelmo cubes                       list the cubes\n"
           "  zelmo dimensions CUBE             list a cube's dimensions\n"
           "  zelmo hierarchies CUBE            list a cube's hierarchies\n"
           "  zelmo levels CUBE HIERARCHY       list a hierarchy's levels\n"
           "  zelmo members CUBE HIERARCHY LEVEL\n"
           "                                    list a level's members\n"
           "  zelmo members CUBE --member UNIQUE_NAME\n"
           "                                    show one member\n"
           "  zelmo measures CUBE               list a cube's measures\n"
           "--user with register/unregister registers for the current user only. The metadata\n"
           "commands take --user NAME and --password PW as query does, and --all to print every\n"
           "column. A hierarchy is named by its unique name ([Region <3>]) or its caption\n"
           "(Region), a level by its unique name or its name or caption (Level 2, (All)). A\n"
           "missing user name or password is asked for on the terminal.\n";
}
