#include "ui/soundplayer.h"

#include "platform/files.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace vespario::ui {

SoundPlayer::SoundPlayer(QObject *parent) : QObject(parent) {}

SoundPlayer::~SoundPlayer() = default;

QString SoundPlayer::FileOf(std::string_view resource) {
    const char *name = nullptr;
    if (resource == "FROG_WAV")
        name = "frog.wav";
    else if (resource == "CRICKET_WAV")
        name = "cricket.wav";
    if (!name)
        return {};
    return QString::fromStdString(platform::DataDir()) + "/sounds/" + name;
}

void SoundPlayer::Play(std::string_view resource) {
    if (QMediaDevices::defaultAudioOutput().isNull())
        return;
    auto it = m_effects.find(resource);
    if (it == m_effects.end()) {
        const QString file = FileOf(resource);
        if (file.isEmpty() || !QFileInfo::exists(file))
            return;
        auto *effect = new QSoundEffect(this);
        effect->setSource(QUrl::fromLocalFile(file));
        it = m_effects.emplace(std::string(resource), effect).first;
    }
    it->second->play();
}

} // namespace vespario::ui
