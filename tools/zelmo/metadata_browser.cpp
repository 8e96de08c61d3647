// The metadata commands. The provider keeps per session what its rowsets fetched and answers a
// rowset read out of order with no rows: the cubes rowset maps cube names, the hierarchies
// rowset fills a cube's dimensions, the levels rowset a dimension's levels. So every command
// reads the rowsets above the one it prints first, in that order, on one session.
#include "tools/zelmo/metadata_browser.h"

#include "olap.h"
#include "tools/zelmo/rowset_reader.h"

namespace {

// Restriction indexes of the published MDSCHEMA restriction orders.
constexpr ULONG kCubeNameIndex = 2;
constexpr ULONG kHierarchyUniqueNameIndex = 4;  // levels and members
constexpr ULONG kLevelUniqueNameIndex = 5;      // members
constexpr ULONG kMemberUniqueNameIndex = 8;     // members

const std::vector<std::string> kCubeColumns = {"CUBE_NAME", "DESCRIPTION", "LAST_SCHEMA_UPDATE"};
const std::vector<std::string> kDimensionColumns = {"DIMENSION_NAME", "DIMENSION_UNIQUE_NAME",
                                                    "DIMENSION_TYPE", "DIMENSION_CARDINALITY"};
const std::vector<std::string> kHierarchyColumns = {"HIERARCHY_CAPTION", "HIERARCHY_UNIQUE_NAME",
                                                    "ALL_MEMBER"};
const std::vector<std::string> kLevelColumns = {"LEVEL_CAPTION", "LEVEL_UNIQUE_NAME",
                                                "LEVEL_NUMBER", "LEVEL_CARDINALITY"};
const std::vector<std::string> kMemberColumns = {"MEMBER_CAPTION", "MEMBER_UNIQUE_NAME",
                                                 "LEVEL_NUMBER", "CHILDREN_CARDINALITY",
                                                 "PARENT_UNIQUE_NAME"};
const std::vector<std::string> kMeasureColumns = {"MEASURE_NAME", "MEASURE_UNIQUE_NAME",
                                                  "MEASURE_AGGREGATOR"};

std::string InCube(const std::string& cube) { return " in cube '" + cube + "'"; }

}  // namespace

SchemaTable MetadataBrowser::Read(const GUID& schema, const SchemaRestrictions& restrictions,
                                  const std::vector<std::string>& names) {
    const ComRef<IUnknown> rowset = session.GetSchemaRowset(schema, restrictions);
    RowsetReader reader(rowset.Get(), ToolStep::kReadRows);
    const std::vector<RowsetColumn> chosen =
        names.empty() ? reader.Columns() : reader.ColumnsNamed(names);
    SchemaTable table;
    for (const RowsetColumn& column : chosen) {
        table.columns.push_back(column.name);
    }
    reader.ReadRows(chosen,
                    [&](std::vector<GridCell>&& cells) { table.rows.push_back(std::move(cells)); });
    return table;
}

std::string MetadataBrowser::FindCube(const std::string& name) {
    const SchemaTable cubes = Read(MDSCHEMA_CUBES, {}, {"CUBE_NAME"});
    return cubes.Text(FindNamedRow(cubes, {"cube", "", {"CUBE_NAME"}, "CUBE_NAME"}, name),
                      "CUBE_NAME");
}

std::string MetadataBrowser::FindHierarchy(const std::string& cube, const std::string& name) {
    const NameLookup lookup = {
        "hierarchy",
        InCube(cube),
        {"HIERARCHY_UNIQUE_NAME", "HIERARCHY_CAPTION", "DIMENSION_UNIQUE_NAME"},
        "HIERARCHY_CAPTION"};
    const SchemaTable hierarchies =
        Read(MDSCHEMA_HIERARCHIES, {{kCubeNameIndex, cube}}, lookup.columns);
    return hierarchies.Text(FindNamedRow(hierarchies, lookup, name), "HIERARCHY_UNIQUE_NAME");
}

std::string MetadataBrowser::FindLevel(const std::string& cube, const std::string& hierarchy,
                                       const std::string& name) {
    const NameLookup lookup = {"level",
                               " of " + hierarchy + InCube(cube),
                               {"LEVEL_UNIQUE_NAME", "LEVEL_NAME", "LEVEL_CAPTION"},
                               "LEVEL_CAPTION"};
    const SchemaTable levels =
        Read(MDSCHEMA_LEVELS, {{kCubeNameIndex, cube}, {kHierarchyUniqueNameIndex, hierarchy}},
             lookup.columns);
    return levels.Text(FindNamedRow(levels, lookup, name), "LEVEL_UNIQUE_NAME");
}

std::string MetadataBrowser::Run(const CommandLine& commandLine) {
    const auto columns = [&](const std::vector<std::string>& userColumns) {
        return commandLine.allColumns ? std::vector<std::string>() : userColumns;
    };
    if (commandLine.action == ToolAction::kCubes) {
        return Read(MDSCHEMA_CUBES, {}, columns(kCubeColumns)).Render();
    }
    const std::string cube = FindCube(commandLine.cube);
    switch (commandLine.action) {
        case ToolAction::kDimensions:
            return Read(MDSCHEMA_DIMENSIONS, {{kCubeNameIndex, cube}}, columns(kDimensionColumns))
                .Render();
        case ToolAction::kHierarchies:
            return Read(MDSCHEMA_HIERARCHIES, {{kCubeNameIndex, cube}}, columns(kHierarchyColumns))
                .Render();
        case ToolAction::kLevels: {
            const std::string hierarchy = FindHierarchy(cube, commandLine.hierarchy);
            return Read(MDSCHEMA_LEVELS,
                        {{kCubeNameIndex, cube}, {kHierarchyUniqueNameIndex, hierarchy}},
                        columns(kLevelColumns))
                .Render();
        }
        case ToolAction::kMembers: {
            if (commandLine.member) {
                const SchemaTable members =
                    Read(MDSCHEMA_MEMBERS,
                         {{kCubeNameIndex, cube}, {kMemberUniqueNameIndex, *commandLine.member}},
                         columns(kMemberColumns));
                if (members.rows.empty()) {
                    throw NameError("no member '" + *commandLine.member + "'" + InCube(cube));
                }
                return members.Render();
            }
            const std::string hierarchy = FindHierarchy(cube, commandLine.hierarchy);
            const std::string level = FindLevel(cube, hierarchy, commandLine.level);
            return Read(MDSCHEMA_MEMBERS,
                        {{kCubeNameIndex, cube},
                         {kHierarchyUniqueNameIndex, hierarchy},
                         {kLevelUniqueNameIndex, level}},
                        columns(kMemberColumns))
                .Render();
        }
        case ToolAction::kMeasures:
            return Read(MDSCHEMA_MEASURES, {{kCubeNameIndex, cube}}, columns(kMeasureColumns))
                .Render();
        default:
            throw std::logic_error("not a metadata command");
    }
}
