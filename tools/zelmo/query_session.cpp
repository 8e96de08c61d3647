// The consumer side of a connection: every property value is freed after SetProperties, and
// each interface is released by its holder.
#include "tools/zelmo/query_session.h"

#include <vector>

#include "com_runtime.h"
#include "olap.h"
#include "tools/zelmo/tool_failure.h"
#include "tools/zelmo/utf_text.h"

namespace {

// The initialisation properties, holding their BSTRs until destroyed.
class InitProperties {
  public:
    ~InitProperties() {
        for (DBPROP& property : properties) {
            VariantClear(&property.vValue);
        }
    }

    void AddText(DBPROPID id, const std::string& value) {
        DBPROP property = {};
        property.dwPropertyID = id;
        property.dwOptions = DBPROPOPTIONS_REQUIRED;
        property.colid = DB_NULLID;
        VariantInit(&property.vValue);
        properties.push_back(property);
        const std::u16string wide = ToUtf16(value);
        BSTR text = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        if (text == nullptr) {
            throw ToolFailure(ToolStep::kSetProperties, E_OUTOFMEMORY);
        }
        properties.back().vValue.vt = VT_BSTR;
        properties.back().vValue.bstrVal = text;
    }

    [[nodiscard]] bool Empty() const { return properties.empty(); }

    HRESULT SetOn(IDBProperties* target) {
        DBPROPSET set = {};
        set.rgProperties = properties.data();
        set.cProperties = static_cast<ULONG>(properties.size());
        set.guidPropertySet = DBPROPSET_DBINIT;
        return target->SetProperties(1, &set);
    }

  private:
    std::vector<DBPROP> properties;
};

// The restriction array of GetRowset, holding its BSTRs until destroyed.
class RestrictionVariants {
  public:
    // Delegating makes the object whole first, so a failed allocation still frees the others.
    explicit RestrictionVariants(const SchemaRestrictions& restrictions) : RestrictionVariants() {
        if (restrictions.empty()) {
            return;
        }
        variants.resize(restrictions.rbegin()->first + 1);
        for (VARIANT& variant : variants) {
            VariantInit(&variant);
        }
        for (const auto& [index, text] : restrictions) {
            const std::u16string wide = ToUtf16(text);
            BSTR value = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
            if (value == nullptr) {
                throw ToolFailure(ToolStep::kGetSchemaRowset, E_OUTOFMEMORY);
            }
            variants[index].vt = VT_BSTR;
            variants[index].bstrVal = value;
        }
    }
    ~RestrictionVariants() {
        for (VARIANT& variant : variants) {
            VariantClear(&variant);
        }
    }
    RestrictionVariants(const RestrictionVariants&) = delete;
    RestrictionVariants& operator=(const RestrictionVariants&) = delete;

    [[nodiscard]] ULONG Count() const { return static_cast<ULONG>(variants.size()); }
    [[nodiscard]] const VARIANT* Data() const {
        return variants.empty() ? nullptr : variants.data();
    }

  private:
    RestrictionVariants() = default;

    std::vector<VARIANT> variants;
};

}  // namespace

ComApartment::ComApartment() {
    CheckStep(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), ToolStep::kInitializeCom);
}

ComApartment::~ComApartment() { CoUninitialize(); }

QuerySession::QuerySession(const ConnectionSettings& settings) {
    CLSID clsid = {};
    CheckStep(CLSIDFromProgID(kProgId, &clsid), ToolStep::kFindProvider);
    CheckStep(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDBInitialize,
                               dataSource.PutVoid()),
              ToolStep::kCreateDataSource);

    InitProperties properties;
    if (settings.user) {
        properties.AddText(DBPROP_AUTH_USERID, *settings.user);
    }
    if (settings.password) {
        properties.AddText(DBPROP_AUTH_PASSWORD, *settings.password);
    }
    if (settings.displayOption) {
        properties.AddText(DBPROP_INIT_DATASOURCE, std::to_string(*settings.displayOption));
    }
    if (!properties.Empty()) {
        ComRef<IDBProperties> dataSourceProperties;
        CheckStep(dataSource.As(dataSourceProperties), ToolStep::kSetProperties);
        const HRESULT hr = properties.SetOn(dataSourceProperties.Get());
        // A property silently left out would change what the user asked for.
        if (hr == DB_S_ERRORSOCCURRED) {
            throw ToolFailure(ToolStep::kSetProperties, hr);
        }
        CheckStep(hr, ToolStep::kSetProperties);
    }

    CheckStep(dataSource->Initialize(), ToolStep::kInitialize);

    ComRef<IDBCreateSession> creator;
    CheckStep(dataSource.As(creator), ToolStep::kCreateSession);
    ComRef<IUnknown> sessionObject;
    CheckStep(creator->CreateSession(nullptr, IID_IDBCreateCommand, sessionObject.Put()),
              ToolStep::kCreateSession);
    CheckStep(sessionObject.As(session), ToolStep::kCreateSession);
}

ComRef<IUnknown> QuerySession::Execute(const std::string& statement) {
    ComRef<IUnknown> commandObject;
    CheckStep(session->CreateCommand(nullptr, IID_ICommandText, commandObject.Put()),
              ToolStep::kCreateCommand);
    ComRef<ICommandText> command;
    CheckStep(commandObject.As(command), ToolStep::kCreateCommand);
    const std::u16string text = ToUtf16(statement);
    CheckStep(command->SetCommandText(MDGUID_MDX, text.c_str()), ToolStep::kSetCommandText);
    ComRef<IUnknown> result;
    DBROWCOUNT rowsAffected = 0;
    CheckStep(command->Execute(nullptr, IID_IUnknown, nullptr, &rowsAffected, result.Put()),
              ToolStep::kExecute);
    if (!result) {
        throw ToolFailure(ToolStep::kExecute, E_UNEXPECTED);
    }
    return result;
}

ComRef<IUnknown> QuerySession::GetSchemaRowset(const GUID& schema,
                                               const SchemaRestrictions& restrictions) {
    ComRef<IDBSchemaRowset> schemaRowset;
    CheckStep(session.As(schemaRowset), ToolStep::kGetSchemaRowset);
    const RestrictionVariants variants(restrictions);
    ComRef<IUnknown> result;
    CheckStep(schemaRowset->GetRowset(nullptr, schema, variants.Count(), variants.Data(),
                                      IID_IRowset, 0, nullptr, result.Put()),
              ToolStep::kGetSchemaRowset);
    if (!result) {
        throw ToolFailure(ToolStep::kGetSchemaRowset, E_UNEXPECTED);
    }
    return result;
}
