// A module built as the provider is (hidden visibility) whose dialog 207 lives in its own
// resources; the tests drive it from the program with the process-wide scripted host.
#include "module_resource_table.h"
#include "test_dialogs.h"

namespace {

constexpr DialogTemplate kModuleLoginTemplate = {
    u"Module Login",
    u"MS Shell Dlg",
    8,
    0,
    0,
    204,
    90,
    WS_POPUP | WS_CAPTION,
    kLoginControls,
    sizeof(kLoginControls) / sizeof(kLoginControls[0])};

}  // namespace

static const ComrtBinaryResource kModuleResources[] = {MODULE_DIALOG(207, kModuleLoginTemplate)};
COMRT_DEFINE_MODULE_RESOURCES_NO_STRINGS(kModuleResources, nullptr)

extern "C" __attribute__((visibility("default"))) INT_PTR RunModuleLogin(WCHAR* user,
                                                                         WCHAR* password) {
    LoginDialog dialog(user, password);
    return dialog.DoModal();
}

extern "C" __attribute__((visibility("default"))) INT_PTR RunModuleMissingDialog(WCHAR*, WCHAR*) {
    OptionsDialog dialog;  // dialog 340 is not among the module's resources
    return dialog.DoModal();
}
