#pragma once
// Callers include <tallyvane/PagePrnt.h>; installed, this is the header itself.
#include "../../pageprinter/PagePrnt.h"
