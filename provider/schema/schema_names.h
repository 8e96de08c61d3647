// How schema rows name cubes, dimensions, hierarchies, levels and members: a dimension is its
// name and " <number>", its one hierarchy that text in brackets, and level and member names are
// built on the hierarchy's.
#pragma once

#include <string>
#include <string_view>

#include "client/json_dimension.h"

inline constexpr char16_t kCatalogName[] = u"DEFAULT";
inline constexpr char16_t kAllLevelName[] = u"(All)";

// The names of one dimension and its hierarchy.
struct DimensionNames {
    explicit DimensionNames(const JSONDimension& dimension);

    std::u16string dimensionUniqueName;  // Region <3>
    std::u16string hierarchyUniqueName;  // [Region <3>]
    // [Region <3>].[(All) <3>]; empty for the measures dimension (ordinal 0).
    std::u16string allMember;
};

// The names of level k of a hierarchy: "(All)" for level 0, else "Level <k>" and "Level k".
struct LevelNames {
    LevelNames(std::u16string_view hierarchyUniqueName, int number);

    std::u16string name;
    std::u16string caption;
    std::u16string uniqueName;  // H.[name]
};

// The unique name of the all level, H.[(All)], carries no number of its own: it stands for
// level 0.
bool IsAllLevelUniqueName(std::string_view levelUniqueName);
