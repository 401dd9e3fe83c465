#include "manager/PasswordStore.h"

#include <qt6keychain/keychain.h>

namespace manager {
namespace {

const QString kService = QStringLiteral("Tortavela");

bool isKeyringMissing(QKeychain::Error error)
{
    return error == QKeychain::NoBackendAvailable || error == QKeychain::NotImplemented ||
           error == QKeychain::OtherError;
}

} // namespace

void PasswordStore::read(const QString& key, std::function<void(std::optional<QString>)> found)
{
    if (m_inMemory) {
        found(m_inMemory);
        return;
    }
    auto* job = new QKeychain::ReadPasswordJob(kService, this);
    job->setKey(key);
    connect(job, &QKeychain::Job::finished, this, [this, job, found](QKeychain::Job*) {
        if (job->error() == QKeychain::NoError) {
            found(job->textData());
            return;
        }
        m_keyringMissing = isKeyringMissing(job->error());
        found(std::nullopt);
    });
    job->start();
}

void PasswordStore::write(const QString& key, const QString& password,
                          std::function<void(bool)> done)
{
    auto* job = new QKeychain::WritePasswordJob(kService, this);
    job->setKey(key);
    job->setTextData(password);
    connect(job, &QKeychain::Job::finished, this, [this, job, password, done](QKeychain::Job*) {
        const bool stored = job->error() == QKeychain::NoError;
        m_keyringMissing = !stored && isKeyringMissing(job->error());
        m_inMemory = stored ? std::nullopt : std::optional(password);
        done(stored);
    });
    job->start();
}

void PasswordStore::remove(const QString& key)
{
    m_inMemory.reset();
    auto* job = new QKeychain::DeletePasswordJob(kService, this);
    job->setKey(key);
    job->start();
}

} // namespace manager
