// A connection to the provider as an OLE DB consumer makes it: data source by ProgID,
// initialisation properties, Initialize, a session, and a command per statement or a schema
// rowset per metadata request.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "oledb.h"
#include "tools/zelmo/com_ref.h"

// Schema rowset restrictions: restriction index -> text, sent as VT_BSTR; others VT_EMPTY.
using SchemaRestrictions = std::map<ULONG, std::string>;

struct ConnectionSettings {
    std::optional<std::string> user;
    std::optional<std::string> password;
    std::optional<int> displayOption;  // sent as DBPROP_INIT_DATASOURCE "0", "1" or "2"
};

class QuerySession {
  public:
    static constexpr const char16_t* kProgId = u"ZelmoProvider.DataSource.1";

    // Creates and initialises the data source and opens a session; throws ToolFailure.
    explicit QuerySession(const ConnectionSettings& settings);

    // Runs one MDX statement on a new command; the result offers IMDDataset for an ordinary
    // answer and only the rowset interfaces for a drill-through answer.
    ComRef<IUnknown> Execute(const std::string& statement);

    // IDBSchemaRowset::GetRowset on the session; the provider keeps what one rowset fetched for
    // the next within the session, so callers read them in the order it needs.
    ComRef<IUnknown> GetSchemaRowset(const GUID& schema, const SchemaRestrictions& restrictions);

  private:
    ComRef<IDBInitialize> dataSource;
    ComRef<IDBCreateCommand> session;
};

// CoInitializeEx for the lifetime of the object; throws ToolFailure when it fails.
class ComApartment {
  public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};
