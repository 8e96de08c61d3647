// The module's resource table, exported for the runtime: registry scripts, dialog templates,
// string table, type library and version block.
#include "module_resource_table.h"
#include "resources/dialog_templates.h"
#include "resources/module_version.h"
#include "resources/provider_type_library.h"
#include "resources/resource_ids.h"
#include "resources/zelmo_advanced_page_rgs.h"
#include "resources/zelmo_connection_page_rgs.h"
#include "resources/zelmo_data_source_rgs.h"
#include "resources/zelmo_module_rgs.h"

namespace {

const ComrtStringResource kStrings[] = {
    MODULE_STRING(kIdsVisualMode, "Defines visibility of precalculated totals"),
    MODULE_STRING(kIdsConnectionTitle, "Connection"),
    MODULE_STRING(kIdsAdvancedTitle, "Advanced"),
};

const ComrtBinaryResource kResources[] = {
    MODULE_REGISTRY_SCRIPT(kIdrZelmoModule, kZelmoModuleScript),
    MODULE_REGISTRY_SCRIPT(kIdrZelmoDataSource, kZelmoDataSourceScript),
    MODULE_REGISTRY_SCRIPT(kIdrZelmoConnectionPage, kZelmoConnectionPageScript),
    MODULE_REGISTRY_SCRIPT(kIdrZelmoAdvancedPage, kZelmoAdvancedPageScript),
    MODULE_DIALOG(kIddCredentialsPrompt, kCredentialsPromptDialog),
    MODULE_DIALOG(kIddConnectionPage, kConnectionPageDialog),
    MODULE_DIALOG(kIddAdvancedPage, kAdvancedPageDialog),
    MODULE_TYPELIB(kIdrTypeLib, kZelmoProviderTypeLib),
};

constexpr VS_FIXEDFILEINFO kVersion = MakeFixedFileInfo(kModuleVersionMajor, kModuleVersionMinor,
                                                        kModuleVersionPatch, kModuleVersionTweak);

}  // namespace

COMRT_DEFINE_MODULE_RESOURCES(kStrings, kResources, &kVersion)
