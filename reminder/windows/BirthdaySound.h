#pragma once

#include <QObject>
#include <filesystem>

class QSoundEffect;

namespace reminder {

// The birthday sound, played in the background: play() returns at once, so the age update that
// follows never waits for it. A missing or broken file, or no audio device, plays nothing and
// says nothing.
class BirthdaySound : public QObject {
    Q_OBJECT
public:
    explicit BirthdaySound(QObject* parent = nullptr);

    void play(const std::filesystem::path& file);

private:
    QSoundEffect* m_effect = nullptr;
};

} // namespace reminder
