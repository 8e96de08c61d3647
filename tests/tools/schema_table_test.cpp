// Tests of finding the row that a user's name stands for among schema rows already read.
#include "tools/zelmo/schema_table.h"

#include <gtest/gtest.h>

namespace {

SchemaTable Hierarchies() {
    SchemaTable table;
    table.columns = {"HIERARCHY_UNIQUE_NAME", "HIERARCHY_CAPTION", "DIMENSION_UNIQUE_NAME"};
    for (const auto& [unique, caption, dimension] :
         std::vector<std::tuple<const char*, const char*, const char*>>{
             {"[Time <1>]", "Time", "Time <1>"},
             {"[Region <3>]", "Region", "Region <3>"},
             {"[region <7>]", "region", "region <7>"},
             {"[Scenario <5>]", "Scenario", "Scenario <5>"},
             {"[Scenario <6>]", "Scenario", "Scenario <6>"},
             {"[Measures <0>]", "Measures", "Measures <0>"}}) {
        table.rows.push_back(
            {GridCell::Text(unique), GridCell::Text(caption), GridCell::Text(dimension)});
    }
    return table;
}

const NameLookup kHierarchy = {
    "hierarchy",
    " in cube 'Planning'",
    {"HIERARCHY_UNIQUE_NAME", "HIERARCHY_CAPTION", "DIMENSION_UNIQUE_NAME"},
    "HIERARCHY_CAPTION"};

TEST(SchemaTableTest, ANameFindsItsRowByAnyOfTheColumns) {
    const SchemaTable table = Hierarchies();
    const std::pair<const char*, size_t> cases[] = {
        {"[Region <3>]", 1}, {"Region", 1},   {"Region <3>", 1}, {"region", 2},
        {"[REGION <7>]", 2}, {"measures", 5}, {"TIME", 0},
    };
    for (const auto& [name, row] : cases) {
        EXPECT_EQ(FindNamedRow(table, kHierarchy, name), row) << name;
    }
}

TEST(SchemaTableTest, NoRowOrSeveralRowsIsAnError) {
    SchemaTable empty;
    empty.columns = Hierarchies().columns;
    const struct {
        SchemaTable table;
        const char* name;
        const char* error;
    } cases[] = {
        {Hierarchies(), "Regio",
         "no hierarchy 'Regio' in cube 'Planning'; known: Time, Region, region, Scenario, "
         "Scenario, Measures"},
        {Hierarchies(), "REGION",
         "'REGION' names more than one hierarchy in cube 'Planning' ([Region <3>], "
         "[region <7>]); give the unique name"},
        {Hierarchies(), "Scenario",
         "'Scenario' names more than one hierarchy in cube 'Planning' ([Scenario <5>], "
         "[Scenario <6>]); give the unique name"},
        {empty, "Time", "no hierarchy 'Time' in cube 'Planning'; there are none"},
    };
    for (const auto& c : cases) {
        try {
            FindNamedRow(c.table, kHierarchy, c.name);
            ADD_FAILURE() << c.name << " was found";
        } catch (const NameError& failure) {
            EXPECT_STREQ(failure.what(), c.error);
        }
    }
}

}  // namespace
