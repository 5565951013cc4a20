#include "ui/displayfont.h"

#include <QApplication>
#include <QFontInfo>

#include <cstdlib>

namespace vespario::ui {
namespace {

constexpr const char *kOwnFace = "Vespario";
constexpr int kSmallestPixels = 6;

// The other platform's weights run from 100 to 900 like OpenType's, which Qt 6 uses too.
QFont::Weight WeightOf(int weight) {
    if (weight <= 0)
        return QFont::Normal;
    return static_cast<QFont::Weight>(std::clamp(weight, 100, 900));
}

} // namespace

QFont DisplayFont(const GeneralSettings &settings) {
    QFont font = QApplication::font();
    if (!settings.fontName.empty() && settings.fontName != kOwnFace)
        font.setFamily(QString::fromStdString(settings.fontName));
    if (settings.fontHeight != 0) {
        // A positive height includes the internal leading, about a fifth of it.
        const int pixels =
            settings.fontHeight < 0 ? -settings.fontHeight : settings.fontHeight * 4 / 5;
        font.setPixelSize(std::max(pixels, kSmallestPixels));
    }
    font.setWeight(WeightOf(settings.fontWeight));
    font.setItalic(settings.fontItalic != 0);
    font.setUnderline(settings.fontUnderline != 0);
    return font;
}

void StoreDisplayFont(const QFont &font, GeneralSettings &settings) {
    const QFontInfo info(font);
    const int pixels = font.pixelSize() > 0 ? font.pixelSize() : info.pixelSize();
    settings.fontHeight = -pixels;
    settings.fontWeight = static_cast<int>(font.weight());
    settings.fontItalic = font.italic() ? 1 : 0;
    settings.fontUnderline = font.underline() ? 1 : 0;
    settings.fontCharSet = 0;
    std::string name = font.family().toStdString();
    if (name.size() >= kFontNameBytes)
        name.resize(kFontNameBytes - 1);
    settings.fontName = name;
}

} // namespace vespario::ui
