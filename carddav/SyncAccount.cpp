#include "carddav/SyncAccount.h"

#include "system/DurableWrite.h"

#include <QFile>
#include <QSettings>
#include <unistd.h>

namespace carddav {
namespace {

QString pathOf(const std::filesystem::path& programDir)
{
    return QString::fromStdString((programDir / kAccountFileName).string());
}

} // namespace

std::optional<SyncAccount> readAccount(const std::filesystem::path& programDir)
{
    if (!QFile::exists(pathOf(programDir)))
        return std::nullopt;
    const QSettings file(pathOf(programDir), QSettings::IniFormat);
    SyncAccount account;
    account.server = QUrl(file.value("cuenta/servidor").toString());
    account.user = file.value("cuenta/usuario").toString();
    account.addressBook = QUrl(file.value("cuenta/libreta").toString());
    account.calendar = QUrl(file.value("cuenta/calendario").toString());
    if (!account.addressBook.isValid() || account.addressBook.isEmpty())
        return std::nullopt;
    return account;
}

bool writeAccount(const std::filesystem::path& programDir, const SyncAccount& account)
{
    // Written whole through a file of its own, then put in place at once.
    const QString temporary = pathOf(programDir) + QStringLiteral(".nuevo");
    QFile::remove(temporary);
    {
        QSettings file(temporary, QSettings::IniFormat);
        file.setValue("cuenta/servidor", account.server.toString());
        file.setValue("cuenta/usuario", account.user);
        file.setValue("cuenta/libreta", account.addressBook.toString());
        file.setValue("cuenta/calendario", account.calendar.toString());
        file.sync();
        if (file.status() != QSettings::NoError)
            return false;
    }
    QFile read(temporary);
    if (!read.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = read.readAll();
    read.close();
    QFile::remove(temporary);
    return sys::replaceFile(programDir / kAccountFileName,
                            std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

void removeAccount(const std::filesystem::path& programDir)
{
    ::unlink((programDir / kAccountFileName).c_str());
}

} // namespace carddav
