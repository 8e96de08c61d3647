// Marks framework globals as private to the module they are compiled into, so that two modules
// built on the framework never share a module object, object map or registration switch.
#pragma once

#define COMFW_MODULE_LOCAL __attribute__((visibility("hidden")))
