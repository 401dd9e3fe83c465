#include "manager/ContactFileWatcher.h"

#include <QFileInfo>

namespace manager {

namespace {

// Long enough for the steps of one rewrite to end, short enough to follow within a second.
constexpr int kSettleMs = 200;

} // namespace

ContactFileWatcher::ContactFileWatcher(const std::filesystem::path& contactFile, QObject* parent)
    : QObject(parent), m_file(QString::fromStdString(contactFile.string()))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &ContactFileWatcher::mayHaveChanged);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this,
            &ContactFileWatcher::somethingHappened);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this,
            &ContactFileWatcher::somethingHappened);
    // Renames into the directory show only there.
    m_watcher.addPath(QString::fromStdString(contactFile.parent_path().string()));
    watchFile();
}

void ContactFileWatcher::somethingHappened()
{
    watchFile();
    m_settle.start();
}

void ContactFileWatcher::watchFile()
{
    if (QFileInfo::exists(m_file)) {
        m_watcher.removePath(m_file);
        m_watcher.addPath(m_file);
    }
}

} // namespace manager
