#pragma once

#include <QString>
#include <QUrl>
#include <filesystem>
#include <optional>

// The account a sync uses, beside data.tvl in "data.tvl.account" (an INI file): the server as the
// user typed it, the user, and the two collections chosen. Never the password, which lives only
// in the desktop's keyring (or, without one, in the manager's memory until it ends).
namespace carddav {

inline constexpr const char* kAccountFileName = "data.tvl.account";

struct SyncAccount {
    QUrl server;
    QString user;
    QUrl addressBook;
    QUrl calendar; // empty: no birthday calendar

    friend bool operator==(const SyncAccount&, const SyncAccount&) = default;
};

// Nothing when there is no account: then nothing syncs and nothing touches the network.
std::optional<SyncAccount> readAccount(const std::filesystem::path& programDir);
bool writeAccount(const std::filesystem::path& programDir, const SyncAccount& account);
void removeAccount(const std::filesystem::path& programDir);

} // namespace carddav
