#pragma once
// The two short sounds of the ID look-up ("FROG_WAV": nothing matched, "CRICKET_WAV": a
// partial match), played without waiting from the WAV files in the data folder. Where the
// machine has no audio output, or a file is missing, nothing is played and nothing is said.

#include <QObject>
#include <QString>

#include <map>
#include <memory>
#include <string>
#include <string_view>

class QSoundEffect;

namespace vespario::ui {

class SoundPlayer : public QObject {
public:
    explicit SoundPlayer(QObject *parent = nullptr);
    ~SoundPlayer() override;

    void Play(std::string_view resource);
    // The data file of a resource name; empty when the program has no such sound.
    static QString FileOf(std::string_view resource);

private:
    std::map<std::string, QSoundEffect *, std::less<>> m_effects;
};

} // namespace vespario::ui
