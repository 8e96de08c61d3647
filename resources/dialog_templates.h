// The provider's dialog templates as data: the credentials prompt and the two property pages.
#pragma once

#include "win_ui.h"

extern const DialogTemplate kCredentialsPromptDialog;
extern const DialogTemplate kConnectionPageDialog;
extern const DialogTemplate kAdvancedPageDialog;
