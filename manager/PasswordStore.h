#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

// The sync account's password, kept only in the desktop's keyring (Secret Service: GNOME Keyring,
// KWallet) through QtKeychain: never in a file, a log, a command line or an environment
// variable. Where no keyring answers, it is kept in this process's memory only, and asked again
// at the next start.
namespace manager {

class PasswordStore : public QObject {
    Q_OBJECT
public:
    explicit PasswordStore(QObject* parent = nullptr) : QObject(parent) {}

    // `found`: the password, or nothing (none stored, or no keyring: then keyringMissing()).
    void read(const QString& key, std::function<void(std::optional<QString>)> found);
    // `done`: whether the keyring took it; without one it is kept in memory.
    void write(const QString& key, const QString& password, std::function<void(bool)> done);
    void remove(const QString& key);

    bool keyringMissing() const { return m_keyringMissing; }

private:
    bool m_keyringMissing = false;
    std::optional<QString> m_inMemory;
};

} // namespace manager
