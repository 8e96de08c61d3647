// The dialog layer in one include: windows, message maps, dialogs, the modal hosts and the
// property-page templates.
#pragma once

#include "win_ui.h"
#include "window.h"
#include "message_map.h"
#include "dialog_host.h"
#include "dialog_impl.h"
#include "property_page_impl.h"
#include "persist_property_bag_impl.h"
