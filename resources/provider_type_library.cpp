// ZelmoProviderLib 1.0: the three coclasses and the interfaces IGetSelf and IExtendCommand.
#include "resources/provider_type_library.h"

#include "module_resource_table.h"
#include "provider/zelmo_guids.h"

namespace {

const TypeLibInterface kInterfaces[] = {{&IID_IGetSelf, u"IGetSelf"},
                                        {&IID_IExtendCommand, u"IExtendCommand"}};
const TypeLibCoClass kCoClasses[] = {{&CLSID_ZelmoData, u"ZelmoData"},
                                     {&CLSID_ZelmoConnectionDlg, u"ZelmoConnectionDlg"},
                                     {&CLSID_ZelmoAdvancedDlg, u"ZelmoAdvancedDlg"}};

}  // namespace

const TypeLibDescription kZelmoProviderTypeLib = {kTypeLibSignature,
                                                  &LIBID_ZelmoProviderLib,
                                                  u"ZelmoProviderLib",
                                                  u"ZelmoProvider 1.0 Type Library",
                                                  1,
                                                  0,
                                                  0,
                                                  0,
                                                  kInterfaces,
                                                  ComrtCountOf(kInterfaces),
                                                  kCoClasses,
                                                  ComrtCountOf(kCoClasses)};
