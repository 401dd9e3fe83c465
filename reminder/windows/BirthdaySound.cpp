#include "reminder/windows/BirthdaySound.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace reminder {

BirthdaySound::BirthdaySound(QObject* parent) : QObject(parent) {}

void BirthdaySound::play(const std::filesystem::path& file)
{
    const QString path = QFile::decodeName(file.c_str());
    // Without the file there is nothing to play: spare Qt's warning about it.
    if (!QFileInfo(path).isFile())
        return;
    if (!m_effect)
        m_effect = new QSoundEffect(this);
    m_effect->setSource(QUrl::fromLocalFile(path));
    // Loading is asynchronous; a play asked for before it ends starts once the sound is loaded.
    m_effect->play();
}

} // namespace reminder
