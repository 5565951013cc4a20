// Includes downwards and beside itself: allowed.
#include "low/base.h"
#include "top.h"
