// A screen may use the whole host and the other screens.
#include "core/Shared.h"
#include "host/domain/AdminPrefs.h"
#include "httplib.h"
