#include "manager/MainWindow.h"

#include "contacts/BirthdayMarkers.h"
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
#include "manager/ShownContacts.h"
#include "manager/StartupContacts.h"
#include "manager/SyncController.h"
#include "manager/UnreadableLinesNotice.h"
#include "manager/WindowMemory.h"
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
#include <QDateTime>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>

namespace manager {

using platform::twipsRect;

namespace {

constexpr double kClientWidth = 10830;
constexpr double kClientHeight = 5790;
constexpr double kListWidth = 10575;
constexpr double kLabelPointSize = 8.25;
constexpr double kSmallestHeaderPointSize = 6.5;
constexpr int kLastColumn = ContactListModel::kColumnCount - 1;
const char* const kCountCaption = "Cantidad De Contactos : ";
const char* const kDateCaption = "Fecha De Hoy : ";
// The Spanish user guide, installed beside the programs.
const char* const kGuideFileName = "GUIA.md";

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
    case MainWindow::Command::Sync:
        return QStringLiteral("No se pudo sincronizar la libreta.");
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
    buildSearchBar();
    buildMenus();
    buildListCommands();
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
    m_dateLabel = makeLabel(objectName::dateLabel, QString::fromUtf8(kDateCaption),
                            twipsRect(120, 120, 4095, 255), Anchor::TopLeft);
    // Right-aligned over the list's right end, it stays there as the list grows.
    m_countCaption = makeLabel(objectName::countCaption, countCaption("0"),
                               twipsRect(6600, 120, 4095, 255), Anchor::Top | Anchor::Right);
    m_countCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_hiddenCount = makeLabel(objectName::hiddenCount, QStringLiteral("0"),
                              twipsRect(0, 0, 615, 255), Anchor::TopLeft);
    m_hiddenCount->hide();

    m_model = new ContactListModel(this);
    m_shown = new ShownContacts(m_model, m_env.today(), this);
    m_list = new QTreeView(client);
    m_list->setObjectName(objectName::contactList);
    layout->addWidget(m_list, twipsRect(120, 480, kListWidth, 4215), Anchor::AllSides);
    m_designedListWidth = platform::twipsToPixels(kListWidth);
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

void MainWindow::buildSearchBar()
{
    // A bar of its own above the designed controls: the window is taller by the bar, and every
    // designed control keeps its place and size.
    m_searchBar = new QToolBar(QStringLiteral("Buscar"), this);
    m_searchBar->setObjectName(objectName::searchBar);
    m_searchBar->setMovable(false);
    m_searchBar->setFloatable(false);
    auto* row = new QWidget(m_searchBar);
    auto* layout = new QHBoxLayout(row);
    const int toolBarMargin =
        m_searchBar->style()->pixelMetric(QStyle::PM_ToolBarItemMargin, nullptr, m_searchBar) +
        m_searchBar->style()->pixelMetric(QStyle::PM_ToolBarFrameWidth, nullptr, m_searchBar);
    // The caption starts in line with the list and the date.
    layout->setContentsMargins(platform::twipsToPixels(120) - toolBarMargin, 2, 0, 2);
    auto* caption = new QLabel(QStringLiteral("&Buscar:"), row);
    caption->setObjectName(objectName::searchCaption);
    caption->setFont(platform::boldUiFont(kLabelPointSize));
    m_searchBox = new QLineEdit(row);
    m_searchBox->setObjectName(objectName::searchBox);
    m_searchBox->setClearButtonEnabled(true);
    m_searchBox->setPlaceholderText(QStringLiteral("Cualquier dato del contacto"));
    m_searchBox->setToolTip(QStringLiteral(
        "Muestra los contactos que tienen lo escrito en cualquier dato, sin distinguir "
        "mayúsculas ni acentos. Escape lo borra."));
    m_searchBox->setFixedWidth(platform::twipsToPixels(4095));
    platform::nameAfterLabel(caption, m_searchBox);
    m_searchMatches = new QLabel(row);
    m_searchMatches->setObjectName(objectName::searchMatches);
    m_searchMatches->hide();
    layout->addWidget(caption);
    layout->addWidget(m_searchBox);
    layout->addSpacing(platform::twipsToPixels(120));
    layout->addWidget(m_searchMatches);
    layout->addStretch();
    m_searchBar->addWidget(row);
    addToolBar(Qt::TopToolBarArea, m_searchBar);

    connect(m_searchBox, &QLineEdit::textChanged, this, &MainWindow::search);
    m_searchBox->installEventFilter(this);
    // Ctrl+F, as in other programs, reaches the box as Alt+B does.
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        m_searchBox->setFocus(Qt::ShortcutFocusReason);
        m_searchBox->selectAll();
    });
}

void MainWindow::search(const QString& text)
{
    const auto selected = selectedRow();
    m_shown->setSearch(text);
    // The selected contact stays selected while the search shows it; otherwise the first contact
    // found is, so that the note and the commands belong to a row in sight.
    if (selected && listIndex(*selected).isValid())
        selectRow(*selected);
    else if (m_shown->rowCount() > 0)
        selectRow(m_shown->mapToSource(m_shown->index(0, 0)).row());
    else
        clearSelection();
    showSearchMatches();
}

void MainWindow::showSearchMatches()
{
    if (!m_shown->isSearching()) {
        m_searchMatches->hide();
        return;
    }
    const int shown = m_shown->rowCount();
    m_searchMatches->setText(
        shown == 0 ? QStringLiteral("Ningún contacto coincide")
                   : QStringLiteral("%1 de %2 contactos").arg(shown).arg(contactCount()));
    m_searchMatches->show();
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
    // "&" marks the letter that opens a menu or picks an entry with Alt (or alone in an open
    // menu); the captions read as designed.
    m_fileMenu = makeMenu(objectName::fileMenu, QStringLiteral("&Archivo"));
    m_addCommand = makeAction(m_fileMenu, objectName::addCommand, QStringLiteral("&Agregar..."));
    m_modifyCommand =
        makeAction(m_fileMenu, objectName::modifyCommand, QStringLiteral("&Modificar..."));
    m_removeCommand = makeAction(m_fileMenu, objectName::removeCommand, QStringLiteral("&Quitar"));
    m_importCommand =
        makeAction(m_fileMenu, objectName::importCommand, QStringLiteral("&Importar contactos..."));
    m_exportContactsCommand = makeAction(m_fileMenu, objectName::exportContactsCommand,
                                         QStringLiteral("&Exportar contactos..."));
    m_exportBirthdaysCommand = makeAction(m_fileMenu, objectName::exportBirthdaysCommand,
                                          QStringLiteral("Exportar &cumpleaños..."));
    m_sync = new SyncController(*this, m_fileMenu, m_store,
                                {m_env.programDir, m_env.today, [] {
                                     return std::chrono::time_point_cast<std::chrono::seconds>(
                                         std::chrono::system_clock::now());
                                 }});
    m_fileMenu->addSeparator()->setObjectName(objectName::menuSeparator);
    m_quitCommand = makeAction(m_fileMenu, objectName::quitCommand, QStringLiteral("&Salir"));
    m_helpMenu = makeMenu(objectName::helpMenu, QStringLiteral("A&yuda"));
    m_aboutCommand =
        makeAction(m_helpMenu, objectName::aboutCommand, QStringLiteral("&Acerca De..."));
    m_guideCommand =
        makeAction(m_helpMenu, objectName::guideCommand, QStringLiteral("&Guía de Tortavela"));

    // The keys of other desktop programs. Supr removes only from the list: in the search box it
    // deletes a letter.
    m_addCommand->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    m_quitCommand->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    m_removeCommand->setShortcut(QKeySequence::Delete);
    m_removeCommand->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_list->addAction(m_removeCommand);

    connect(m_addCommand, &QAction::triggered, this, &MainWindow::addContact);
    connect(m_modifyCommand, &QAction::triggered, this, &MainWindow::modifyContact);
    connect(m_removeCommand, &QAction::triggered, this, &MainWindow::removeContact);
    connect(m_importCommand, &QAction::triggered, this, &MainWindow::importContacts);
    connect(m_exportContactsCommand, &QAction::triggered, this, &MainWindow::exportContacts);
    connect(m_exportBirthdaysCommand, &QAction::triggered, this, &MainWindow::exportBirthdays);
    connect(m_quitCommand, &QAction::triggered, this, [this] {
        rememberWindow();
        QApplication::quit();
    });
    connect(m_aboutCommand, &QAction::triggered, this, &MainWindow::showAbout);
    connect(m_guideCommand, &QAction::triggered, this, &MainWindow::showGuide);

    // F10 opens the first menu, as on other desktops.
    auto* openMenus = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(openMenus, &QShortcut::activated, this, [this] {
        menuBar()->setActiveAction(m_fileMenu->menuAction());
        m_fileMenu->setActiveAction(m_fileMenu->actions().value(0));
    });
}

void MainWindow::buildListCommands()
{
    // A right click on a row selects it and offers the commands that act on it; so does the
    // menu key.
    m_listMenu = new QMenu(this);
    m_listMenu->setObjectName(objectName::listMenu);
    m_listMenu->addActions({m_addCommand, m_modifyCommand, m_removeCommand});
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        m_listMenu->popup(m_list->viewport()->mapToGlobal(position));
    });
    // A double click or Intro on a row modifies it.
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            modifyContact();
    });
    m_list->installEventFilter(this);
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
    m_list->setModel(m_shown);
    // The note box and the commands follow the selection, whether it moves by mouse or by
    // keyboard, and whatever changes the rows: a note never shows beside another contact's row,
    // and the commands act on a row the user can see.
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::showSelectedContact);
    connect(m_shown, &QAbstractItemModel::modelReset, this, &MainWindow::showSelectedContact);
    connect(m_shown, &QAbstractItemModel::rowsInserted, this, &MainWindow::showSelectedContact);
    connect(m_shown, &QAbstractItemModel::rowsRemoved, this, &MainWindow::showSelectedContact);
    connect(m_shown, &QAbstractItemModel::layoutChanged, this, &MainWindow::showSelectedContact);
    // The count caption always tells the number of contacts.
    const auto contactsChanged = [this] {
        showCount();
        showSearchMatches();
        enableExports();
    };
    connect(m_model, &QAbstractItemModel::modelReset, this, contactsChanged);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, contactsChanged);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, contactsChanged);

    const double scaleWidth = centralWidget()->width() * platform::kTwipsPerPixel;
    const auto widths = columnWidthsTwips(scaleWidth);
    for (int column = 0; column < ContactListModel::kColumnCount; ++column)
        m_columnWidths[column] = platform::twipsToPixels(widths[column]);
    m_fittingLastColumn = true;
    for (int column = 0; column < ContactListModel::kColumnCount; ++column)
        m_list->setColumnWidth(column, m_columnWidths[column]);
    m_fittingLastColumn = false;
    fitHeaderFont();

    // A click on a column's header orders the list by it, a second click the other way round;
    // the list starts by name.
    QHeaderView* header = m_list->header();
    header->setSortIndicator(0, Qt::AscendingOrder);
    m_list->setSortingEnabled(true);
    connect(header, &QHeaderView::sortIndicatorChanged, this, [this] {
        if (m_list->currentIndex().isValid())
            m_list->scrollTo(m_list->currentIndex());
    });
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int, int width) { columnResized(column, width); });
}

void MainWindow::fitLastColumn()
{
    const int growth = std::max(0, m_list->width() - m_designedListWidth);
    m_fittingLastColumn = true;
    m_list->setColumnWidth(kLastColumn, m_columnWidths[kLastColumn] + growth);
    m_fittingLastColumn = false;
}

void MainWindow::columnResized(int column, int width)
{
    if (m_fittingLastColumn || column < 0 || column > kLastColumn)
        return;
    // The user's own width; the last column's without what the window gave it.
    if (column == kLastColumn)
        width -= std::max(0, m_list->width() - m_designedListWidth);
    m_columnWidths[column] = std::max(width, m_list->header()->minimumSectionSize());
}

void MainWindow::fitHeaderFont()
{
    // Rather than clip a caption ("Fecha Del Cumple"), the headers take a smaller size, at which
    // each caption fits beside the arrow it shows when the list is sorted by it.
    QHeaderView* header = m_list->header();
    const auto overflow = [&](const QFont& font) {
        const QFontMetrics metrics(font);
        double most = 0;
        for (int column = 0; column < ContactListModel::kColumnCount; ++column) {
            const QString caption =
                m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
            const int room = headerCaptionRoom(header, m_list->columnWidth(column), font);
            most = std::max(most, double(metrics.horizontalAdvance(caption)) / std::max(1, room));
        }
        return most;
    };
    const double largest = header->font().pointSizeF();
    QFont fitted = platform::shrinkToFit(header->font(), kSmallestHeaderPointSize, overflow);
    // A smaller font makes a lower header with a smaller arrow, which leaves more room than the
    // first guess reckoned with: the size above may fit as well.
    constexpr double kStep = 0.25;
    for (QFont larger = fitted; larger.pointSizeF() + kStep <= largest;) {
        larger.setPointSizeF(larger.pointSizeF() + kStep);
        if (overflow(larger) > 1)
            break;
        fitted = larger;
    }
    header->setFont(fitted);
}

int MainWindow::headerCaptionRoom(const QHeaderView* header, int columnWidth, const QFont& font)
{
    QStyleOptionHeader option;
    option.initFrom(header);
    option.fontMetrics = QFontMetrics(font);
    option.text = QStringLiteral("Á");
    option.state |= QStyle::State_Horizontal;
    option.orientation = Qt::Horizontal;
    // The arrow is as large as the header is tall, which the font decides.
    const int height = header->style()
                           ->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header)
                           .height();
    option.rect = QRect(0, 0, columnWidth, height);
    option.sortIndicator = QStyleOptionHeader::SortDown;
    // A pixel each side for the lines between the sections.
    return header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header).width() - 2;
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
    // The window takes its designed size, with the note on unreadable lines if there is one, or
    // the size the user left it at, and its controls their places, before it is shown: it can
    // then be placed, and a window shown minimized stays minimized (resized while it is being
    // shown, it would come up normal).
    adjustSize();
    recallWindow();
    layout()->invalidate();
    layout()->activate();
    fitLastColumn();
    // The keyboard starts on the selected row: Intro modifies it, Supr removes it.
    setTabOrder(m_searchBox, m_list);
    setTabOrder(m_list, m_noteBox);
    m_list->setFocus();
    followToday();
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
        m_sync->startUp();
    });
}

void MainWindow::recallWindow()
{
    const auto memory = manager::recallWindow(m_env.windowMemoryFile);
    if (!memory)
        return;
    const int narrowest = m_list->header()->minimumSectionSize();
    if (memory->columnWidths.size() == m_columnWidths.size() &&
        std::all_of(memory->columnWidths.begin(), memory->columnWidths.end(),
                    [&](int width) { return width >= narrowest && width <= 100 * narrowest; })) {
        std::copy(memory->columnWidths.begin(), memory->columnWidths.end(), m_columnWidths.begin());
        m_fittingLastColumn = true;
        for (int column = 0; column < kLastColumn; ++column)
            m_list->setColumnWidth(column, m_columnWidths[column]);
        m_fittingLastColumn = false;
    }
    // Never smaller than designed, and never larger than the screen it opens on.
    QSize size = memory->size.expandedTo(minimumSizeHint());
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableSize()).expandedTo(minimumSizeHint());
    resize(size);
    if (memory->maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void MainWindow::rememberWindow() const
{
    WindowMemory memory;
    memory.maximized = isMaximized();
    memory.size = memory.maximized && normalGeometry().isValid() ? normalGeometry().size() : size();
    memory.columnWidths.assign(m_columnWidths.begin(), m_columnWidths.end());
    manager::rememberWindow(m_env.windowMemoryFile, memory);
}

void MainWindow::followToday()
{
    // At midnight, with a second to spare: the date, the marks and the order by birthday move on.
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 untilTomorrow = now.msecsTo(now.date().addDays(1).startOfDay()) + 1000;
    QTimer::singleShot(std::chrono::milliseconds(untilTomorrow), this, [this] {
        m_dateLabel->setText(QString::fromUtf8(kDateCaption) +
                             platform::dayFirstShortDate(QDate::currentDate()));
        m_shown->setToday(m_env.today());
        followToday();
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

QModelIndex MainWindow::listIndex(int row) const
{
    return m_shown->mapFromSource(m_model->index(row, 0));
}

std::optional<int> MainWindow::selectedRow() const
{
    const QModelIndexList selected =
        m_list->selectionModel() ? m_list->selectionModel()->selectedRows() : QModelIndexList{};
    if (selected.isEmpty())
        return std::nullopt;
    return m_shown->mapToSource(selected.first()).row();
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

void MainWindow::selectRow(int row, bool reveal)
{
    QModelIndex index = listIndex(row);
    if (!index.isValid() && reveal && m_shown->isSearching()) {
        m_searchBox->clear();
        index = listIndex(row);
    }
    if (!index.isValid())
        return;
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

    // A removal leaves no row selected. A modified contact stays selected, its note shown; an
    // addition to an empty list selects the new contact, the only one to act on, and an import
    // the first of its contacts in the list. The search shows them if it hid them.
    std::vector<contacts::Contact> toSelect;
    if (command == Command::Import || command == Command::Modify ||
        (command == Command::Add && contactCount() == 0))
        toSelect = answer.addedContacts;
    if (command != Command::Add && command != Command::Sync)
        clearSelection();
    if (answer.book) {
        showBook(std::move(*answer.book));
    } else {
        showUnreadableLines(std::move(answer.unreadable));
        m_model->applyChange(answer.removedLines, std::move(answer.addedContacts));
    }
    if (const int first = m_model->firstRowOf(toSelect); first >= 0)
        selectRow(first, true);
    showOverwrittenFields(messageParent, answer.conflicts);
    return true;
}

void MainWindow::openWhileDisabled(QDialog* dialog)
{
    // The main window is disabled, not only blocked, while a dialog is open: screen readers say
    // so, and its close box is refused.
    // Disabling takes the keyboard from the control that had it: it gets it back afterwards, so
    // that the keys go on where they were (Intro, Supr on the list).
    const QPointer<QWidget> focused = focusWidget() ? focusWidget() : m_list;
    setEnabled(false);
    dialog->setEnabled(true);
    connect(dialog, &QDialog::finished, this, [this, focused] {
        setEnabled(true);
        if (focused)
            focused->setFocus(Qt::OtherFocusReason);
    });
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
    // An age typed is the contact's current one: a birthday before today that the reminder did
    // not see must not be counted in it again. Today's birthday is still the reminder's to count.
    std::vector<contacts::MarkerFile> markers;
    if (!original || original->age() != entered.age())
        markers = contacts::currentAgeMarkers(entered.birthday(), entered.name(), entered.alias(),
                                              m_env.today(), false);
    contacts::ChangeAnswer answer = original ? m_store.replace(*original, entered, {}, markers)
                                             : m_store.add(entered, {}, markers);
    // A renamed contact stays the same card of the address book it is synced with.
    const std::string written = answer.written() && !answer.addedContacts.empty()
                                    ? answer.addedContacts.front().line()
                                    : std::string();
    // A contact that could not be stored stays in the dialog, as the user typed it.
    if (showAnswer(original ? Command::Modify : Command::Add, std::move(answer), &dialog)) {
        if (original)
            m_sync->contactReplaced(original->storedLine(), written);
        dialog.accept();
    }
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

void MainWindow::showGuide()
{
    const QString guide = QString::fromStdString((m_env.programDir / kGuideFileName).string());
    if (!QFileInfo::exists(guide)) {
        platform::showMessage(
            this, {QMessageBox::Warning, QStringLiteral("Tortavela"),
                   QStringLiteral("No se encuentra la guía de Tortavela:\n%1").arg(guide),
                   QMessageBox::Ok});
        return;
    }
    // With the desktop's own viewer for the file.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(guide))) {
        platform::showMessage(
            this, {QMessageBox::Information, QStringLiteral("Tortavela"),
                   QStringLiteral("No hay ningún programa para abrir la guía de Tortavela. "
                                  "Puede leerla en:\n%1")
                       .arg(guide),
                   QMessageBox::Ok});
    }
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
    rememberWindow();
    QMainWindow::closeEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::Resize) {
        fitLastColumn();
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (watched == m_list && enter && plain) {
            modifyContact();
            return true;
        }
        if (watched == m_searchBox && key->key() == Qt::Key_Escape) {
            // Escape empties the box; on an empty box it goes back to the list.
            if (m_searchBox->text().isEmpty())
                m_list->setFocus(Qt::OtherFocusReason);
            else
                m_searchBox->clear();
            return true;
        }
        if (watched == m_searchBox && (enter || key->key() == Qt::Key_Down)) {
            // On to the rows found, the first of them chosen when none is.
            m_list->setFocus(Qt::OtherFocusReason);
            if (!m_list->selectionModel()->hasSelection() && m_shown->rowCount() > 0)
                m_list->selectionModel()->setCurrentIndex(m_shown->index(0, 0),
                                                          QItemSelectionModel::ClearAndSelect |
                                                              QItemSelectionModel::Rows);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace manager
