// Web code that reaches past the server contract, and code that is fine.
#include <string>

#include "host/forms/QuilForm.h"
#include "server/db/Database.h"
#include "web/Crossed.h"
