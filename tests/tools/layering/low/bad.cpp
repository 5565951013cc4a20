// Includes upwards and a Qt header: both are faults.
#include "high/top.h"
#include "low/base.h"
#include <QWidget>
#include <vector>
