// zelmo's metadata commands: each lists one schema rowset of a connected session, after reading
// the rowsets that the provider needs first and finding the user's names in their rows.
#pragma once

#include <string>
#include <vector>

#include "tools/zelmo/command_line.h"
#include "tools/zelmo/query_session.h"
#include "tools/zelmo/schema_table.h"

class MetadataBrowser {
  public:
    explicit MetadataBrowser(QuerySession& session) : session(session) {}

    // The table that a metadata command prints; throws ToolFailure, or NameError for a name that
    // stands for nothing.
    std::string Run(const CommandLine& commandLine);

  private:
    // The named columns of the rowset (every column when names is empty), every row.
    SchemaTable Read(const GUID& schema, const SchemaRestrictions& restrictions,
                     const std::vector<std::string>& names);

    // Each returns the name that the provider knows for what the user named: the cube's name,
    // the hierarchy's and the level's unique names.
    std::string FindCube(const std::string& name);
    std::string FindHierarchy(const std::string& cube, const std::string& name);
    std::string FindLevel(const std::string& cube, const std::string& hierarchy,
                          const std::string& name);

    QuerySession& session;
};
