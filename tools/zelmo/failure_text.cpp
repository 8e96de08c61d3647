// Reasons for failed steps: what the code means at that step, else what it means in general.
#include "tools/zelmo/failure_text.h"

#include "client/service_address.h"
#include "client/service_config.h"
#include "oledberr.h"
#include "tools/zelmo/hresult_names.h"

namespace {

// The address the loaded provider logs in at: from config.txt beside it, else the built-in one.
std::string ProviderServiceAddress() {
    ReadServiceConfig();
    return ServiceAddress::Get();
}

const char* GeneralReason(HRESULT hr) {
    switch (hr) {
        case E_OUTOFMEMORY:
            return "out of memory";
        case E_NOINTERFACE:
            return "the object does not offer the interface asked for";
        case E_NOTIMPL:
            return "the provider does not implement this call";
        case E_INVALIDARG:
            return "the provider refused an argument";
        case E_POINTER:
            return "the provider was handed a null pointer";
        case E_UNEXPECTED:
            return "the object is not in a state that allows this call";
        case E_ACCESSDENIED:
            return "access denied";
        case CO_E_NOTINITIALIZED:
            return "the COM runtime was not initialised";
        case REGDB_E_CLASSNOTREG:
        case CO_E_CLASSSTRING:
            return "the class is not registered";
        case CO_E_DLLNOTFOUND:
        case CO_E_ERRORINDLL:
            return "the registered module could not be loaded";
        case CLASS_E_CLASSNOTAVAILABLE:
            return "the module does not serve that class";
        case REGDB_E_READREGDB:
        case REGDB_E_WRITEREGDB:
            return "the registry could not be read or written (check COMRT_REGISTRY_ROOT)";
        case DB_E_ERRORSOCCURRED:
        case DB_S_ERRORSOCCURRED:
            return "the provider refused one or more properties";
        case DB_E_BADCOLUMNID:
            return "the rowset lacks a column zelmo reads";
        case DB_E_BADACCESSORHANDLE:
            return "the accessor handle was refused";
        case DB_E_BADBINDINFO:
        case DB_E_ERRORSINCOMMAND:
            return "the provider refused the bindings or the statement";
        case DB_E_NOCOMMAND:
            return "no statement text was set";
        case DB_E_NOAGGREGATION:
            return "the object cannot be aggregated";
        default:
            return "the call reported a failure";
    }
}

}  // namespace

const char* StepName(ToolStep step) {
    switch (step) {
        case ToolStep::kInitializeCom:
            return "CoInitializeEx";
        case ToolStep::kFindProvider:
            return "CLSIDFromProgID";
        case ToolStep::kCreateDataSource:
            return "CoCreateInstance";
        case ToolStep::kSetProperties:
            return "SetProperties";
        case ToolStep::kInitialize:
            return "Initialize";
        case ToolStep::kCreateSession:
            return "CreateSession";
        case ToolStep::kCreateCommand:
            return "CreateCommand";
        case ToolStep::kSetCommandText:
            return "SetCommandText";
        case ToolStep::kExecute:
            return "Execute";
        case ToolStep::kGetSchemaRowset:
            return "GetRowset";
        case ToolStep::kReadAxisInfo:
            return "GetAxisInfo";
        case ToolStep::kReadAxis:
            return "Reading an axis rowset";
        case ToolStep::kReadCells:
            return "GetCellData";
        case ToolStep::kReadRows:
            return "Reading the rowset";
        case ToolStep::kRegister:
            return "Registration";
        case ToolStep::kUnregister:
            return "Unregistration";
    }
    return "A step";
}

std::string FailureReason(ToolStep step, HRESULT hr) {
    switch (step) {
        case ToolStep::kFindProvider:
            if (hr == CO_E_CLASSSTRING || hr == REGDB_E_CLASSNOTREG || hr == REGDB_E_KEYMISSING) {
                return "the provider is not registered (ProgID ZelmoProvider.DataSource.1); run "
                       "'zelmo register PATH/ZelmoProvider.so' first";
            }
            break;
        case ToolStep::kInitialize:
            if (hr == E_INVALIDARG) {
                return "the credentials prompt was cancelled or no terminal was available";
            }
            if (hr == DB_E_ALREADYINITIALIZED) {
                return "the data source was already initialised";
            }
            break;
        case ToolStep::kExecute:
            if (hr == E_FAIL) {
                return "the service at " + ProviderServiceAddress() +
                       " gave no usable answer (no connection, login refused, a statement it "
                       "does not know, or an answer that could not be read)";
            }
            if (hr == DB_E_NOCOMMAND) {
                return "the statement is empty or was not accepted";
            }
            break;
        case ToolStep::kGetSchemaRowset:
            // The provider gives this code alike for a service it could not reach and for
            // refused credentials.
            if (hr == E_ACCESSDENIED) {
                return "the login failed: the service at " + ProviderServiceAddress() +
                       " could not be reached, or it refused the user name and password";
            }
            if (hr == E_INVALIDARG) {
                return "the provider does not offer this schema rowset";
            }
            break;
        case ToolStep::kRegister:
        case ToolStep::kUnregister:
            if (hr == E_ACCESSDENIED || hr == REGDB_E_WRITEREGDB) {
                return "the registry could not be written (check COMRT_REGISTRY_ROOT, or use "
                       "--user)";
            }
            break;
        default:
            break;
    }
    return GeneralReason(hr);
}

std::string FailureLine(ToolStep step, HRESULT hr) {
    return std::string(StepName(step)) + " failed: " + DescribeHResult(hr) + ": " +
           FailureReason(step, hr);
}
