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
