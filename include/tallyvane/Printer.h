#pragma once
// Callers include <tallyvane/Printer.h>; installed, this is the header itself.
#include "../../platform/Printer.h"
