#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <filesystem>

namespace manager {

// Tells when the contact file may have changed on disk: another program renamed a new file over
// it (the reminder's age update, the manager's own rewrites) or wrote into it (a hand edit).
// The events of one rewrite come as one signal, a moment after the last of them.
class ContactFileWatcher : public QObject {
    Q_OBJECT
public:
    ContactFileWatcher(const std::filesystem::path& contactFile, QObject* parent = nullptr);

signals:
    void mayHaveChanged();

private:
    void somethingHappened();
    // A watch follows the file it was set on; a file renamed over it needs a watch of its own.
    void watchFile();

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_file;
};

} // namespace manager
