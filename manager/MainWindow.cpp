#include "manager/MainWindow.h"

#include "contacts/ContactFile.h"
#include "manager/AboutWindow.h"
#include "manager/ContactDialog.h"
#include "manager/ContactExport.h"
#include "manager/ContactFileWatcher.h"
#include "manager/ContactImport.h"
#include "manager/ContactListModel.h"
#include "manager/FileProblemMessage.h"
#include "manager/ImportPreview.h"
#include "manager/ObjectNames.h"
#include "manager/RemovalQuestion.h"
#include "manager/StartupContacts.h"
#include "manager/UnreadableLinesNotice.h"
#include "platform/AutostartEntry.h"
#include "platform/DailyTimer.h"
#include "platform/gui/Accessibility.h"
#include "platform/gui/AfterFirstPaint.h"
#include "platform/gui/AnchoredLayout.h"
#include "platform/gui/AnsweringWait.h"
#include "platform/gui/DayFirstDate.h"
#include "platform/gui/Geometry.h"
#include "platform/gui/MessageBox.h"
#include "platform/gui/RowList.h"
#include "platform/gui/ShownText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTreeView>

namespace manager {

using platform::twipsRect;

namespace {

constexpr double kClientWidth = 10830;
constexpr double kClientHeight = 5790;
constexpr double kLabelPointSize = 8.25;
constexpr double kSmallestHeaderPointSize = 6.5;
const char* const kCountCaption = "Cantidad De Contactos : ";

QString countCaption(const QString& count)
{
    return QString::fromUtf8(kCountCaption) + count;
}

QString failureText(MainWindow::Command command)
{
    switch (command) {
    case MainWindow::Command::Add:
        return QStringLiteral("No se pudo guardar el contacto.");
    case MainWindow::Command::Modify:
        return QStringLiteral("No se pudo guardar el contacto modificado.");
    case MainWindow::Command::Remove:
        return QStringLiteral("No se pudo quitar el contacto.");
    case MainWindow::Command::Import:
        break;
    }
    return QStringLiteral("No se pudieron importar los contactos.");
}

} // namespace

MainWindow::MainWindow(Environment environment, QWidget* parent)
    : QMainWindow(parent), m_env(std::move(environment)), m_store(m_env.programDir)
{
    setObjectName(objectName::mainWindow);
    setWindowTitle("Tortavela");
    // Minimized, a window is named by its icon text: it keeps its name for screen readers.
    setWindowIconText("Tortavela");
    buildControls();
    buildMenus();
    keepAnsweringWhileLocked();
}

MainWindow::~MainWindow()
{
    // systemctl is given up after platform::kSystemctlPatience at the longest.
    if (m_dailyTimer.joinable())
        m_dailyTimer.join();
}

void MainWindow::buildControls()
{
    auto* client = new QWidget(this);
    // The designed size is the smallest: the list and the note box take what the window grows.
    client->resize(platform::twipsSize(kClientWidth, kClientHeight));
    auto* layout = new platform::AnchoredLayout(client, client->size());
    setCentralWidget(client);
    using Anchor = platform::AnchoredLayout::Anchor;

    const QFont labelFont = platform::boldUiFont(kLabelPointSize);
    const auto makeLabel = [&](const char* name, const QString& text, QRect geometry, int anchors) {
        auto* label = new QLabel(text, client);
        label->setObjectName(name);
        label->setFont(labelFont);
        layout->addWidget(label, geometry, anchors);
        return label;
    };
    m_dateLabel = makeLabel(objectName::dateLabel, QStringLiteral("Fecha De Hoy : "),
                            twipsRect(120, 120, 4095, 255), Anchor::TopLeft);
    // Right-aligned over the list's right end, it stays there as the list grows.
    m_countCaption = makeLabel(objectName::countCaption, countCaption("0"),
                               twipsRect(6600, 120, 4095, 255), Anchor::Top | Anchor::Right);
    m_countCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_hiddenCount = makeLabel(objectName::hiddenCount, QStringLiteral("0"),
                              twipsRect(0, 0, 615, 255), Anchor::TopLeft);
    m_hiddenCount->hide();

    m_model = new ContactListModel(this);
    m_list = new QTreeView(client);
    m_list->setObjectName(objectName::contactList);
    layout->addWidget(m_list, twipsRect(120, 480, 10575, 4215), Anchor::AllSides);
    platform::makeRowList(m_list);
    m_list->header()->setStretchLastSection(false);
    m_list->setAccessibleName(QStringLiteral("Contactos"));

    // The note box keeps its height below the list, and its caption stays over it.
    auto* noteCaption = makeLabel(objectName::noteCaption, QStringLiteral("Nota"),
                                  twipsRect(120, 4800, 2175, 255), Anchor::Left | Anchor::Bottom);
    m_noteBox = new QPlainTextEdit(client);
    m_noteBox->setObjectName(objectName::noteBox);
    layout->addWidget(m_noteBox, twipsRect(120, 5040, 10575, 615),
                      Anchor::Left | Anchor::Right | Anchor::Bottom);
    m_noteBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The box shows the stored note; what is typed here would be stored nowhere.
    m_noteBox->setReadOnly(true);
    platform::nameAfterLabel(noteCaption, m_noteBox);
}

void MainWindow::buildMenus()
{
    const auto makeMenu = [&](const char* name, const QString& caption) {
        QMenu* menu = menuBar()->addMenu(caption);
        menu->setObjectName(name);
        return menu;
    };
    const auto makeAction = [&](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    m_fileMenu = makeMenu(objectName::fileMenu, QStringLiteral("Archivo"));
    m_addCommand = makeAction(m_fileMenu, objectName::addCommand, QStringLiteral("Agregar..."));
    m_modifyCommand =
        makeAction(m_fileMenu, objectName::modifyCommand, QStringLiteral("Modificar..."));
    m_removeCommand = makeAction(m_fileMenu, objectName::removeCommand, QStringLiteral("Quitar"));
    m_importCommand =
        makeAction(m_fileMenu, objectName::importCommand, QStringLiteral("Importar contactos..."));
    m_exportContactsCommand = makeAction(m_fileMenu, objectName::exportContactsCommand,
                                         QStringLiteral("Exportar contactos..."));
    m_exportBirthdaysCommand = makeAction(m_fileMenu, objectName::exportBirthdaysCommand,
                                          QStringLiteral("Exportar cumpleaños..."));
    m_fileMenu->addSeparator()->setObjectName(objectName::menuSeparator);
    m_quitCommand = makeAction(m_fileMenu, objectName::quitCommand, QStringLiteral("Salir"));
    m_helpMenu = makeMenu(objectName::helpMenu, QStringLiteral("Ayuda"));
    m_aboutCommand =
        makeAction(m_helpMenu, objectName::aboutCommand, QStringLiteral("Acerca De..."));

    connect(m_addCommand, &QAction::triggered, this, &MainWindow::addContact);
    connect(m_modifyCommand, &QAction::triggered, this, &MainWindow::modifyContact);
    connect(m_removeCommand, &QAction::triggered, this, &MainWindow::removeContact);
    connect(m_importCommand, &QAction::triggered, this, &MainWindow::importContacts);
    connect(m_exportContactsCommand, &QAction::triggered, this, &MainWindow::exportContacts);
    connect(m_exportBirthdaysCommand, &QAction::triggered, this, &MainWindow::exportBirthdays);
    connect(m_quitCommand, &QAction::triggered, qApp, &QApplication::quit);
    connect(m_aboutCommand, &QAction::triggered, this, &MainWindow::showAbout);

    // F10 opens the first menu, as on other desktops; the menus have no other shortcut keys.
    auto* openMenus = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(openMenus, &QShortcut::activated, this, [this] {
        menuBar()->setActiveAction(m_fileMenu->menuAction());
        m_fileMenu->setActiveAction(m_fileMenu->actions().value(0));
    });
}

std::array<double, 7> MainWindow::columnWidthsTwips(double scaleWidth)
{
    // Columns 2, 3, 4, 5 and 7 were computed in single precision, 1 and 6 in double.
    const auto single = [](double width, float less) {
        return static_cast<double>(static_cast<float>(width) / 7.0f - less);
    };
    return {scaleWidth / 7 - 41.42, single(scaleWidth, 48), single(scaleWidth, 48),
            single(scaleWidth, 48), single(scaleWidth, 44), scaleWidth / 7 - 41.42,
            single(scaleWidth, 44)};
}

void MainWindow::setUpColumns()
{
    m_list->setModel(m_model);
    // The note box and the commands follow the selection, whether it moves by mouse or by
    // keyboard, and whatever changes the rows: a note never shows beside another contact's row,
    // and the commands act on a row the user can see.
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::showSelectedContact);
    // The count caption always tells the number of rows.
    const auto rowsChanged = [this] {
        showCount();
        showSelectedContact();
        enableExports();
    };
    connect(m_model, &QAbstractItemModel::modelReset, this, rowsChanged);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, rowsChanged);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, rowsChanged);
    const double scaleWidth = centralWidget()->width() * platform::kTwipsPerPixel;
    const auto widths = columnWidthsTwips(scaleWidth);
    for (int column = 0; column < ContactListModel::kColumnCount; ++column)
        m_list->setColumnWidth(column, platform::twipsToPixels(widths[column]));
    fitHeaderFont();
}

void MainWindow::fitHeaderFont()
{
    // Rather than clip a caption ("Fecha Del Cumple"), the headers take a smaller size.
    QHeaderView* header = m_list->header();
    const int margins =
        2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) + 2;
    header->setFont(
        platform::shrinkToFit(header->font(), kSmallestHeaderPointSize, [&](const QFont& font) {
            const QFontMetrics metrics(font);
            double overflow = 0;
            for (int column = 0; column < ContactListModel::kColumnCount; ++column) {
                const QString caption =
                    m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
                overflow = std::max(overflow, double(metrics.horizontalAdvance(caption) + margins) /
                                                  m_list->columnWidth(column));
            }
            return overflow;
        }));
}

void MainWindow::startUp()
{
    startUp(readStartupContacts(m_env.programDir));
}

void MainWindow::startUp(StartupContacts startup)
{
    m_dateLabel->setText(m_dateLabel->text() + platform::dayFirstShortDate(QDate::currentDate()));
    setUpColumns();
    showStartupContacts(std::move(startup));
    // The window takes its designed size, with the note on unreadable lines if there is one, and
    // its controls their places, before it is shown: it can then be placed, and a window shown
    // minimized stays minimized (resized while it is being shown, it would come up normal).
    adjustSize();
    layout()->invalidate();
    layout()->activate();
    // Nothing the user sees at once waits for these.
    platform::afterFirstPaint(this, [this] {
        // A failed registration must not hide the user's contacts: it is not reported.
        platform::registerReminderAtLogon(m_env.programDir, m_env.autostartDir);
        if (!m_env.systemctl.empty() && !m_dailyTimer.joinable())
            m_dailyTimer =
                std::thread([programDir = m_env.programDir, systemctl = m_env.systemctl] {
                    platform::enableDailyTimerOnce(programDir, systemctl);
                });
        auto* watcher = new ContactFileWatcher(contacts::contactFilePath(m_env.programDir), this);
        connect(watcher, &ContactFileWatcher::mayHaveChanged, this, &MainWindow::followContactFile);
        // A change made before the watch began.
        followContactFile();
    });
}

void MainWindow::showStartupContacts(StartupContacts startup)
{
    m_store = std::move(startup.store);
    keepAnsweringWhileLocked();
    contacts::LoadResult& loaded = startup.loaded;
    if (loaded.status == contacts::LoadResult::Status::Failed) {
        // An unreadable file is not an empty one: say so instead of showing an empty list.
        platform::showMessage(
            this,
            {QMessageBox::Warning, QStringLiteral("Tortavela"),
             QStringLiteral("No se pudo leer el archivo de contactos\n%1\n\n%2")
                 .arg(QString::fromStdString(contacts::contactFilePath(m_env.programDir).string()),
                      QString::fromStdString(loaded.error)),
             QMessageBox::Ok});
    }
    showUnreadableLines(std::move(loaded.book.unreadable));
    m_model->setContactsInNameOrder(std::move(loaded.book.contacts));
    // The file's first contact is selected, as its note is the one the start-up shows.
    if (startup.firstInFile)
        selectRow(m_model->rowOf(*startup.firstInFile));
}

void MainWindow::keepAnsweringWhileLocked()
{
    m_store.setWhileLocked(platform::answeringWait(platform::kLockPatience, &m_waitingForLock));
}

void MainWindow::followContactFile()
{
    // In the middle of a change, which shows the file as it finds it once it has the lock.
    if (m_waitingForLock || !m_store.changedOnDisk())
        return;
    // A file that cannot be read now, or is missing for a moment, says nothing about the
    // contacts: the list stays until the file can be read, and the next change tells the user.
    contacts::LoadResult loaded = m_store.load(contacts::ContactStore::WhenMissing::Leave);
    if (loaded.status == contacts::LoadResult::Status::Read)
        showBook(std::move(loaded.book));
}

void MainWindow::showBook(contacts::ContactBook book)
{
    std::optional<contacts::Contact> selected;
    if (const auto row = selectedRow())
        selected = m_model->contact(*row);
    const int scrolledTo = m_list->verticalScrollBar()->value();

    showUnreadableLines(std::move(book.unreadable));
    m_model->setContacts(std::move(book.contacts));
    if (selected) {
        if (const int row = m_model->rowOf(*selected); row >= 0)
            selectRow(row);
    }
    m_list->doItemsLayout();
    m_list->verticalScrollBar()->setValue(scrolledTo);
}

void MainWindow::showUnreadableLines(std::vector<contacts::UnreadableLine> lines)
{
    m_unreadable = std::move(lines);
    const QString notice = unreadableLinesNotice(m_unreadable);
    if (notice.isEmpty()) {
        if (m_unreadableNotice)
            statusBar()->hide();
        return;
    }
    // Made only when needed: most files have no such line, and the bar costs start-up time.
    if (!m_unreadableNotice) {
        m_unreadableNotice = new QLabel(this);
        m_unreadableNotice->setObjectName(objectName::unreadableNotice);
        m_unreadableNotice->setWordWrap(true);
        // In line with the list above it.
        m_unreadableNotice->setContentsMargins(platform::twipsToPixels(90), 0, 0, 0);
        statusBar()->addWidget(m_unreadableNotice, 1);
        statusBar()->setSizeGripEnabled(false);
    }
    m_unreadableNotice->setText(notice);
    statusBar()->show();
}

std::optional<int> MainWindow::selectedRow() const
{
    const QModelIndexList selected =
        m_list->selectionModel() ? m_list->selectionModel()->selectedRows() : QModelIndexList{};
    if (selected.isEmpty())
        return std::nullopt;
    return selected.first().row();
}

int MainWindow::contactCount() const
{
    return m_model->rowCount();
}

QString MainWindow::note() const
{
    const auto row = selectedRow();
    return row ? m_model->text(*row, contacts::ContactField::Note) : QString();
}

std::vector<std::string> MainWindow::unreadableNames() const
{
    std::vector<std::string> names;
    names.reserve(m_unreadable.size());
    for (const contacts::UnreadableLine& line : m_unreadable)
        names.push_back(line.name);
    return names;
}

std::vector<std::string> MainWindow::storedNames() const
{
    std::vector<std::string> names = unreadableNames();
    names.reserve(names.size() + static_cast<size_t>(contactCount()));
    for (const contacts::Contact& contact : m_model->contacts())
        names.emplace_back(contact.name());
    return names;
}

void MainWindow::showSelectedContact()
{
    const auto row = selectedRow();
    // The box lays out its text whole: it shows the start of a long note, the dialog all of it.
    m_noteBox->setPlainText(
        row ? platform::shownFileText(m_model->contact(*row).note(), platform::kShownInBox)
            : QString());
    // "Quitar" and "Modificar..." always change together.
    m_removeCommand->setEnabled(row.has_value());
    m_modifyCommand->setEnabled(row.has_value());
}

void MainWindow::showCount()
{
    m_hiddenCount->setText(QString::number(contactCount()));
    m_countCaption->setText(countCaption(m_hiddenCount->text()));
}

void MainWindow::selectRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
    m_list->scrollTo(index);
}

void MainWindow::clearSelection()
{
    // Without a current row the view cannot move the selection to a neighbour of a removed
    // row: no row stays selected beside an empty note box and disabled commands.
    m_list->selectionModel()->clear();
}

bool MainWindow::showAnswer(Command command, contacts::ChangeAnswer answer, QWidget* messageParent)
{
    using Outcome = contacts::ChangeAnswer::Outcome;
    if (answer.outcome == Outcome::Failed) {
        showFileProblem(messageParent, failureText(command), m_env.programDir, answer.error);
        return false;
    }
    if (answer.outcome == Outcome::Refused) {
        if (answer.book)
            showBook(std::move(*answer.book));
        if (command == Command::Import)
            showRefusedImport(messageParent);
        else
            showRefusedChange(messageParent, answer.refusal);
        return false;
    }

    // After a change the list shows no selection, as a modification or removal leaves it; an
    // addition to an empty list selects the new contact, the only one to act on, and an import
    // the first of its contacts in the list.
    std::vector<contacts::Contact> toSelect;
    if (command == Command::Import || (command == Command::Add && contactCount() == 0))
        toSelect = answer.addedContacts;
    if (command != Command::Add)
        clearSelection();
    if (answer.book) {
        showBook(std::move(*answer.book));
    } else {
        showUnreadableLines(std::move(answer.unreadable));
        m_model->applyChange(answer.removedLines, std::move(answer.addedContacts));
    }
    if (const int first = m_model->firstRowOf(toSelect); first >= 0)
        selectRow(first);
    showOverwrittenFields(messageParent, answer.conflicts);
    return true;
}

void MainWindow::openWhileDisabled(QDialog* dialog)
{
    // The main window is disabled, not only blocked, while a dialog is open: screen readers say
    // so, and its close box is refused.
    setEnabled(false);
    dialog->setEnabled(true);
    connect(dialog, &QDialog::finished, this, [this] { setEnabled(true); });
    dialog->open();
}

void MainWindow::openContactDialog(std::optional<contacts::Contact> contact)
{
    auto* dialog = new ContactDialog(this, std::move(contact), storedNames());
    connect(dialog, &ContactDialog::contactEntered, this,
            [this, dialog](const contacts::Contact& entered) {
                storeEnteredContact(*dialog, entered);
            });
    openWhileDisabled(dialog);
}

void MainWindow::storeEnteredContact(ContactDialog& dialog, const contacts::Contact& entered)
{
    const auto& original = dialog.original();
    contacts::ChangeAnswer answer =
        original ? m_store.replace(*original, entered) : m_store.add(entered);
    // A contact that could not be stored stays in the dialog, as the user typed it.
    if (showAnswer(original ? Command::Modify : Command::Add, std::move(answer), &dialog))
        dialog.accept();
}

void MainWindow::addContact()
{
    openContactDialog(std::nullopt);
}

void MainWindow::modifyContact()
{
    if (const auto row = selectedRow())
        openContactDialog(m_model->contact(*row));
}

void MainWindow::removeContact()
{
    const auto row = selectedRow();
    if (!row)
        return;
    // Taken before the question: the list may follow the file while it is asked.
    const contacts::Contact contact = m_model->contact(*row);
    if (confirmRemoval(this))
        showAnswer(Command::Remove, m_store.remove(contact), this);
}

void MainWindow::showAbout()
{
    openWhileDisabled(new AboutWindow(this));
}

void MainWindow::importContacts()
{
    ImportPreview* preview =
        prepareImport(this, m_model->contacts(), unreadableNames(), m_env.today());
    if (!preview)
        return;
    connect(preview, &ImportPreview::importChosen, this,
            [this, preview](const contacts::ContactBatch& batch) { storeImport(*preview, batch); });
    openWhileDisabled(preview);
}

void MainWindow::storeImport(ImportPreview& preview, const contacts::ContactBatch& batch)
{
    contacts::ChangeAnswer answer = m_store.apply(batch);
    const bool refused = answer.outcome == contacts::ChangeAnswer::Outcome::Refused;
    // After a failure the preview stays, to try again; after a refusal its marks are out of date.
    if (showAnswer(Command::Import, std::move(answer), &preview))
        preview.accept();
    else if (refused)
        preview.reject();
}

void MainWindow::exportContacts()
{
    exportContactFile(this, m_model->contacts(), m_env.today());
}

void MainWindow::exportBirthdays()
{
    exportBirthdayCalendar(
        this, m_model->contacts(),
        std::chrono::time_point_cast<std::chrono::seconds>(std::chrono::system_clock::now()));
}

void MainWindow::enableExports()
{
    const bool any = contactCount() > 0;
    m_exportContactsCommand->setEnabled(any);
    m_exportBirthdaysCommand->setEnabled(any);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // While a dialog is open the main window takes no input, its close box included.
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

} // namespace manager
