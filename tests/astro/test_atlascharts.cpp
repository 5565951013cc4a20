#include "astro/atlascharts.h"
