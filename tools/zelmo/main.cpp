// zelmo: registers the Zelmo provider, lists its metadata and runs MDX statements through it,
// printing the answer as a grid (or, for a drill-through answer and metadata, as a table).
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "olap.h"
#include "tools/zelmo/command_line.h"
#include "tools/zelmo/dataset_reader.h"
#include "tools/zelmo/metadata_browser.h"
#include "tools/zelmo/provider_registration.h"
#include "tools/zelmo/query_session.h"
#include "tools/zelmo/rowset_reader.h"
#include "tools/zelmo/tool_failure.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int RunRegistration(const CommandLine& commandLine) {
    const bool install = commandLine.action == ToolAction::kRegister;
    const ToolStep step = install ? ToolStep::kRegister : ToolStep::kUnregister;
    // The registrar may use the runtime's per-thread state, as it would under regsvr32.
    ComApartment apartment;
    const RegistrationOutcome outcome =
        RunModuleRegistration(commandLine.modulePath, install, commandLine.perUser);
    if (!outcome.loaded) {
        std::fprintf(stderr, "zelmo: %s\n", outcome.loadError.c_str());
        return kExitFailure;
    }
    CheckStep(outcome.hr, step);
    std::printf("%s %s%s\n", install ? "Registered" : "Unregistered",
                commandLine.modulePath.c_str(), commandLine.perUser ? " for the current user" : "");
    return 0;
}

std::string RenderTableResult(IUnknown* result) {
    RowsetReader reader(result, ToolStep::kReadRows);
    std::vector<std::string> header;
    for (const RowsetColumn& column : reader.Columns()) {
        header.push_back(column.name);
    }
    std::vector<std::vector<GridCell>> rows;
    reader.ReadRows(reader.Columns(),
                    [&](std::vector<GridCell>&& cells) { rows.push_back(std::move(cells)); });
    return GridPrinter::RenderTable(header, rows);
}

int RunQuery(const CommandLine& commandLine) {
    ComApartment apartment;
    std::string text;
    {
        QuerySession session({commandLine.user, commandLine.password, commandLine.displayOption});
        ComRef<IUnknown> result = session.Execute(commandLine.statement);
        ComRef<IMDDataset> dataset;
        if (SUCCEEDED(result.As(dataset))) {
            text = RenderDataset(ReadDataset(dataset.Get()));
        } else {
            text = RenderTableResult(result.Get());
        }
    }
    std::fputs(text.c_str(), stdout);
    return 0;
}

int RunBrowse(const CommandLine& commandLine) {
    ComApartment apartment;
    std::string text;
    {
        QuerySession session({commandLine.user, commandLine.password, std::nullopt});
        text = MetadataBrowser(session).Run(commandLine);
    }
    std::fputs(text.c_str(), stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const ParsedCommandLine parsed =
        ParseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    if (!parsed.ok) {
        std::fprintf(stderr, "zelmo: %s\n%s", parsed.error.c_str(), UsageText().c_str());
        return kExitUsage;
    }
    try {
        switch (parsed.commandLine.action) {
            case ToolAction::kHelp:
                std::fputs(UsageText().c_str(), stdout);
                return 0;
            case ToolAction::kRegister:
            case ToolAction::kUnregister:
                return RunRegistration(parsed.commandLine);
            case ToolAction::kQuery:
                return RunQuery(parsed.commandLine);
            case ToolAction::kCubes:
            case ToolAction::kDimensions:
            case ToolAction::kHierarchies:
            case ToolAction::kLevels:
            case ToolAction::kMembers:
            case ToolAction::kMeasures:
                return RunBrowse(parsed.commandLine);
        }
    } catch (const ToolFailure& failure) {
        std::fprintf(stderr, "zelmo: %s\n", failure.what());
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "zelmo: out of memory\n");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zelmo: %s\n", error.what());
    }
    return kExitFailure;
}
