#pragma once
// The record views' display font from the six "Font" keys and back. The height follows the
// other platform's rule: negative is the character height in pixels, positive the cell
// height. The program's own face "Vespario" is not installed on Linux: it stands for the
// desktop's default face.

#include "settings/generalsettings.h"

#include <QFont>

namespace vespario::ui {

QFont DisplayFont(const GeneralSettings &settings);
void StoreDisplayFont(const QFont &font, GeneralSettings &settings);

} // namespace vespario::ui
