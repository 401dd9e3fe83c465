#include "manager/SyncAccountDialog.h"

#include "manager/ObjectNames.h"
#include "platform/gui/Accessibility.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace manager {
namespace {

QLineEdit* makeInput(QWidget* parent, const char* name)
{
    auto* input = new QLineEdit(parent);
    input->setObjectName(name);
    return input;
}

// What the user typed, as an address: "nube.example.org" is https://nube.example.org/.
QUrl addressOf(const QString& typed)
{
    QString text = typed.trimmed();
    if (!text.contains(QLatin1StringView("://")))
        text = QStringLiteral("https://") + text;
    QUrl url(text);
    if (url.path().isEmpty())
        url.setPath(QStringLiteral("/"));
    return url;
}

} // namespace

SyncAccountDialog::SyncAccountDialog(QWidget* parent,
                                     const std::optional<carddav::SyncAccount>& account,
                                     const QString& password)
    : QDialog(parent)
{
    setObjectName(objectName::syncAccountDialog);
    setWindowTitle(QStringLiteral("Cuenta de sincronización"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("La libreta se mantiene igual que una libreta de direcciones CardDAV "
                       "(Nextcloud, Radicale, iCloud...), y los cumpleaños pueden ir a un "
                       "calendario con un aviso la víspera."),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* form = new QFormLayout;
    m_server = makeInput(this, objectName::syncServer);
    m_user = makeInput(this, objectName::syncUser);
    m_password = makeInput(this, objectName::syncPassword);
    m_password->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("&Servidor:"), m_server);
    form->addRow(QStringLiteral("&Usuario:"), m_user);
    form->addRow(QStringLiteral("&Contraseña:"), m_password);
    m_testButton = new QPushButton(QStringLiteral("&Probar"), this);
    m_testButton->setObjectName(objectName::syncTestButton);
    form->addRow(QString(), m_testButton);
    m_outcome = new QLabel(this);
    m_outcome->setObjectName(objectName::syncTestOutcome);
    m_outcome->setWordWrap(true);
    form->addRow(QString(), m_outcome);
    m_addressBooks = new QComboBox(this);
    m_addressBooks->setObjectName(objectName::syncAddressBooks);
    m_calendars = new QComboBox(this);
    m_calendars->setObjectName(objectName::syncCalendars);
    form->addRow(QStringLiteral("&Libreta de direcciones:"), m_addressBooks);
    form->addRow(QStringLiteral("Calendario de &cumpleaños:"), m_calendars);
    layout->addLayout(form);
    for (QWidget* input : {static_cast<QWidget*>(m_server), static_cast<QWidget*>(m_user),
                           static_cast<QWidget*>(m_password), static_cast<QWidget*>(m_addressBooks),
                           static_cast<QWidget*>(m_calendars)})
        platform::nameAfterLabel(qobject_cast<QLabel*>(form->labelForField(input)), input);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_acceptButton = buttons->button(QDialogButtonBox::Ok);
    m_acceptButton->setObjectName(objectName::acceptButton);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(objectName::cancelButton);
    if (account) {
        auto* remove = buttons->addButton(QStringLiteral("&Quitar la cuenta"),
                                          QDialogButtonBox::DestructiveRole);
        remove->setObjectName(objectName::syncRemoveButton);
        connect(remove, &QPushButton::clicked, this, [this] {
            m_removeChosen = true;
            accept();
        });
    }
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_testButton, &QPushButton::clicked, this, &SyncAccountDialog::test);
    for (QLineEdit* input : {m_server, m_user, m_password})
        connect(input, &QLineEdit::textEdited, this, [this] {
            m_addressBooks->clear();
            m_calendars->clear();
            m_outcome->clear();
            updateAccept();
        });

    if (account) {
        m_server->setText(account->server.toString());
        m_user->setText(account->user);
        m_password->setText(password);
        m_addressBooks->addItem(account->addressBook.toString(), account->addressBook);
        m_calendars->addItem(QStringLiteral("Ninguno"), QUrl());
        if (!account->calendar.isEmpty()) {
            m_calendars->addItem(account->calendar.toString(), account->calendar);
            m_calendars->setCurrentIndex(1);
        }
    }
    updateAccept();
    resize(sizeHint().expandedTo(QSize(460, 0)));
}

void SyncAccountDialog::updateAccept()
{
    m_acceptButton->setEnabled(m_addressBooks->count() > 0);
}

void SyncAccountDialog::test()
{
    m_outcome->setText(QStringLiteral("Probando..."));
    m_testButton->setEnabled(false);
    delete m_discovery;
    m_discovery = new carddav::Discovery(addressOf(m_server->text()), m_user->text(),
                                         m_password->text(), this);
    connect(m_discovery, &carddav::Discovery::finished, this, &SyncAccountDialog::showFound);
    m_discovery->start();
}

void SyncAccountDialog::showFound(const carddav::Discovered& found)
{
    m_testButton->setEnabled(true);
    m_addressBooks->clear();
    m_calendars->clear();
    if (!found.ok) {
        m_outcome->setText(QStringLiteral("No funciona: %1").arg(found.error));
        updateAccept();
        return;
    }
    for (const carddav::Collection& book : found.addressBooks)
        m_addressBooks->addItem(book.name, book.url);
    m_calendars->addItem(QStringLiteral("Ninguno"), QUrl());
    for (const carddav::Collection& calendar : found.calendars)
        m_calendars->addItem(calendar.name, calendar.url);
    m_outcome->setText(QStringLiteral("Funciona: %1 libreta(s) de direcciones y %2 calendario(s).")
                           .arg(found.addressBooks.size())
                           .arg(found.calendars.size()));
    updateAccept();
}

carddav::SyncAccount SyncAccountDialog::account() const
{
    return {addressOf(m_server->text()), m_user->text(), m_addressBooks->currentData().toUrl(),
            m_calendars->currentData().toUrl()};
}

QString SyncAccountDialog::password() const
{
    return m_password->text();
}

} // namespace manager
