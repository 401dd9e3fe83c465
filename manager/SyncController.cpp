#include "manager/SyncController.h"

#include "contacts/Windows1252.h"
#include "exchange/StorageProblem.h"
#include "manager/MainWindow.h"
#include "manager/ObjectNames.h"
#include "manager/PasswordStore.h"
#include "manager/SyncAccountDialog.h"
#include "platform/gui/MessageBox.h"
#include "sync/SyncState.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace manager {
namespace {

QString fromFile(const std::string& bytes)
{
    return QString::fromStdString(contacts::windows1252ToUtf8(bytes));
}

QString outcomeLine(const carddav::SyncOutcome& outcome)
{
    if (!outcome.ok)
        return QStringLiteral("No se pudo sincronizar: %1").arg(outcome.error);
    return QStringLiteral("Sincronizado: %1 recibido%2, %3 enviado%4")
        .arg(outcome.summary.received)
        .arg(outcome.summary.received == 1 ? "" : "s")
        .arg(outcome.summary.sent)
        .arg(outcome.summary.sent == 1 ? "" : "s");
}

// What the user must know of a sync: conflicts, what was not mirrored, what was transliterated.
QString summaryText(const mirror::SyncSummary& summary)
{
    QStringList lines;
    if (!summary.conflicts.empty()) {
        lines << QStringLiteral("Cambiados a la vez en la libreta y en el servidor (queda el valor "
                                "de la libreta):");
        for (const mirror::FieldConflict& conflict : summary.conflicts) {
            const std::string_view caption = exchange::fieldCaption(conflict.field);
            lines << QStringLiteral("  %1, %2: «%3» (en el servidor era «%4»)")
                         .arg(fromFile(conflict.name),
                              QString::fromUtf8(caption.data(), qsizetype(caption.size())),
                              fromFile(conflict.bookValue), fromFile(conflict.cardValue));
        }
    }
    if (!summary.notMirrored.empty()) {
        lines << QStringLiteral("No se sincronizan:");
        for (const std::string& reason : summary.notMirrored)
            lines << QStringLiteral("  ") + QString::fromStdString(reason);
    }
    if (!summary.transliterated.empty()) {
        lines << QStringLiteral("Guardados con letras que el archivo de contactos admite (el "
                                "servidor conserva los originales):");
        for (const std::string& change : summary.transliterated)
            lines << QStringLiteral("  ") + QString::fromStdString(change);
    }
    return lines.join(u'\n');
}

void showSummary(QWidget* parent, const QString& text)
{
    auto* window = new QDialog(parent);
    window->setObjectName(objectName::syncSummary);
    window->setWindowTitle(QStringLiteral("Resumen de la sincronización"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(window);
    auto* list = new QPlainTextEdit(text, window);
    list->setReadOnly(true);
    list->setAccessibleName(QStringLiteral("Resumen"));
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, window);
    QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::close);
    layout->addWidget(buttons);
    window->resize(560, 320);
    window->show();
}

} // namespace

SyncController::SyncController(MainWindow& window, QMenu* fileMenu, contacts::ContactStore& store,
                               carddav::BookSync::Environment environment)
    : QObject(&window), m_window(window), m_store(store), m_env(std::move(environment)),
      m_account(carddav::readAccount(m_env.programDir)), m_passwords(new PasswordStore(this))
{
    m_syncCommand = fileMenu->addAction(QStringLiteral("Si&ncronizar ahora"));
    m_syncCommand->setObjectName(objectName::syncNowCommand);
    m_accountCommand = fileMenu->addAction(QStringLiteral("C&uenta de sincronización..."));
    m_accountCommand->setObjectName(objectName::syncAccountCommand);
    m_syncCommand->setEnabled(m_account.has_value());
    connect(m_syncCommand, &QAction::triggered, this, [this] { syncNow(Asked::ByUser); });
    connect(m_accountCommand, &QAction::triggered, this, &SyncController::editAccount);
    m_every = new QTimer(this);
    m_every->setInterval(kEveryMs);
    connect(m_every, &QTimer::timeout, this, [this] { syncNow(Asked::OnItsOwn); });
}

void SyncController::startUp()
{
    if (!m_account)
        return;
    m_every->start();
    syncNow(Asked::OnItsOwn);
}

QString SyncController::passwordKey() const
{
    return m_account ? m_account->user + u'@' + m_account->addressBook.host() : QString();
}

void SyncController::showStatus(const QString& text)
{
    if (!m_status) {
        m_status = new QLabel(&m_window);
        m_status->setObjectName(objectName::syncStatus);
        m_window.statusBar()->addWidget(m_status, 1);
        m_window.statusBar()->setSizeGripEnabled(false);
    }
    m_status->setText(text);
}

void SyncController::syncNow(Asked asked)
{
    if (!m_account || m_running)
        return;
    showStatus(QStringLiteral("Sincronizando..."));
    m_passwords->read(passwordKey(), [this, asked](std::optional<QString> password) {
        if (password) {
            runWith(*password, asked);
            return;
        }
        if (asked == Asked::OnItsOwn && !m_passwords->keyringMissing()) {
            showStatus(QStringLiteral("No se pudo sincronizar: falta la contraseña."));
            return;
        }
        // No keyring: asked at each sync, kept in memory only.
        bool given = false;
        const QString typed =
            QInputDialog::getText(&m_window, QStringLiteral("Sincronizar"),
                                  QStringLiteral("Contraseña de %1:").arg(m_account->user),
                                  QLineEdit::Password, QString(), &given);
        if (!given) {
            showStatus(QString());
            return;
        }
        m_passwords->write(passwordKey(), typed, [](bool) {});
        runWith(typed, asked);
    });
}

void SyncController::runWith(const QString& password, Asked asked)
{
    m_running = new carddav::BookSync(m_store, *m_account, password, m_env, this);
    connect(m_running, &carddav::BookSync::finished, this,
            [this, asked](const carddav::SyncOutcome& outcome) { finish(outcome, asked); });
    m_running->start();
}

void SyncController::finish(const carddav::SyncOutcome& outcome, Asked asked)
{
    m_running->deleteLater();
    m_running = nullptr;
    if (outcome.book && outcome.book->written())
        m_window.showAnswer(MainWindow::Command::Sync, *outcome.book, &m_window);
    showStatus(outcomeLine(outcome));
    const QString summary = outcome.ok ? summaryText(outcome.summary) : QString();
    const bool mustKnow = !outcome.summary.conflicts.empty();
    if (!summary.isEmpty() && (asked == Asked::ByUser || mustKnow))
        showSummary(&m_window, summary);
}

void SyncController::contactReplaced(std::string_view from, std::string_view to)
{
    if (m_account)
        mirror::trackReplacement(m_env.programDir, from, to);
}

void SyncController::editAccount()
{
    const auto open = [this](const QString& password) {
        auto* dialog = new SyncAccountDialog(&m_window, m_account, password);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(dialog, &QDialog::accepted, this, [this, dialog] {
            if (dialog->removeChosen()) {
                m_passwords->remove(passwordKey());
                carddav::removeAccount(m_env.programDir);
                std::filesystem::remove(m_env.programDir / mirror::kStateFileName);
                m_account.reset();
                m_every->stop();
                m_syncCommand->setEnabled(false);
                showStatus(QStringLiteral("Sin sincronización."));
                return;
            }
            const carddav::SyncAccount account = dialog->account();
            if (!carddav::writeAccount(m_env.programDir, account)) {
                platform::showMessage(&m_window, {QMessageBox::Critical, QStringLiteral("Error"),
                                                  QStringLiteral("No se pudo guardar la cuenta."),
                                                  QMessageBox::Ok});
                return;
            }
            m_account = account;
            m_syncCommand->setEnabled(true);
            m_every->start();
            const QString password = dialog->password();
            m_passwords->write(passwordKey(), password, [this](bool stored) {
                if (!stored)
                    showStatus(QStringLiteral("No hay un depósito de contraseñas: se pedirá la "
                                              "contraseña al sincronizar."));
                syncNow(Asked::ByUser);
            });
        });
        m_window.openWhileDisabled(dialog);
    };
    if (!m_account) {
        open(QString());
        return;
    }
    m_passwords->read(passwordKey(), [open](std::optional<QString> password) {
        open(password.value_or(QString()));
    });
}

} // namespace manager
