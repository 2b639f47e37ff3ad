#pragma once
// Callers include <tallyvane/QVXFlashLabel.h>; installed, this is the header itself.
#include "../../controls/QVXFlashLabel.h"
