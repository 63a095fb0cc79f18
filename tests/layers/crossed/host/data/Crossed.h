// A data-layer header that reaches up into the screen framework.
#pragma once
#include "host/base/Variant.h"
#include "host/forms/QuilForm.h"
