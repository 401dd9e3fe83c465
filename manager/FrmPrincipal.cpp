#include "FrmPrincipal.h"

#include "Accessibility.h"
#include "AutostartEntry.h"
#include "ContactFile.h"
#include "ContactListModel.h"
#include "ContactRemoval.h"
#include "FrmAcerca.h"
#include "FrmAdd.h"
#include "FrmEdit.h"
#include "Geometry.h"
#include "Lookup.h"
#include "MessageBox.h"
#include "QtText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QStyle>
#include <QTreeView>

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

} // namespace

FrmPrincipal::FrmPrincipal(Environment environment, QWidget* parent)
    : QMainWindow(parent), m_env(std::move(environment))
{
    setObjectName("FrmPrincipal");
    setWindowTitle("Tortavela");
    // Minimized, a window is named by its icon text: it keeps its name for screen readers.
    setWindowIconText("Tortavela");
    buildControls();
    buildMenus();
}

FrmPrincipal::~FrmPrincipal() = default;

void FrmPrincipal::buildControls()
{
    auto* client = new QWidget(this);
    client->setFixedSize(platform::twipsSize(kClientWidth, kClientHeight));
    setCentralWidget(client);
    // The window keeps its designed size: a larger window would only show empty space.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    const QFont labelFont = platform::boldUiFont(kLabelPointSize);
    const auto makeLabel = [&](const char* name, const QString& text, QRect geometry) {
        auto* label = new QLabel(text, client);
        label->setObjectName(name);
        label->setFont(labelFont);
        label->setGeometry(geometry);
        return label;
    };
    m_lbldate =
        makeLabel("lbldate", QStringLiteral("Fecha De Hoy : "), twipsRect(120, 120, 4095, 255));
    m_lblcantcum = makeLabel("lblcantcum", countCaption("0"), twipsRect(6600, 120, 4095, 255));
    m_lblcantcum->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lblcant = makeLabel("lblcant", QStringLiteral("0"), twipsRect(0, 0, 615, 255));
    m_lblcant->hide();

    m_model = new ContactListModel(this);
    m_list = new QTreeView(client);
    m_list->setObjectName("LW1");
    m_list->setGeometry(twipsRect(120, 480, 10575, 4215));
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionsMovable(false);
    m_list->setAccessibleName(QStringLiteral("Contactos"));

    auto* noteCaption =
        makeLabel("Label1", QStringLiteral("Nota"), twipsRect(120, 4800, 2175, 255));
    m_txtdesc = new QPlainTextEdit(client);
    m_txtdesc->setObjectName("txtdesc");
    m_txtdesc->setGeometry(twipsRect(120, 5040, 10575, 615));
    m_txtdesc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The box shows the stored note; what is typed here would be stored nowhere.
    m_txtdesc->setReadOnly(true);
    platform::nameAfterLabel(noteCaption, m_txtdesc);
}

void FrmPrincipal::buildMenus()
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
    m_mnuarchivo = makeMenu("mnuarchivo", QStringLiteral("Archivo"));
    m_mnuadd = makeAction(m_mnuarchivo, "mnuadd", QStringLiteral("Agregar..."));
    m_mnumodi = makeAction(m_mnuarchivo, "mnumodi", QStringLiteral("Modificar..."));
    m_mnudel = makeAction(m_mnuarchivo, "mnudel", QStringLiteral("Quitar"));
    m_mnuarchivo->addSeparator()->setObjectName("mnuguion");
    m_mnuend = makeAction(m_mnuarchivo, "mnuend", QStringLiteral("Salir"));
    m_mnuayuda = makeMenu("mnuayuda", QStringLiteral("Ayuda"));
    m_mnuacerca = makeAction(m_mnuayuda, "mnuacerca", QStringLiteral("Acerca De..."));

    connect(m_mnuadd, &QAction::triggered, this, &FrmPrincipal::mnuaddClick);
    connect(m_mnumodi, &QAction::triggered, this, &FrmPrincipal::mnumodiClick);
    connect(m_mnudel, &QAction::triggered, this, &FrmPrincipal::mnudelClick);
    connect(m_mnuend, &QAction::triggered, qApp, &QApplication::quit);
    connect(m_mnuacerca, &QAction::triggered, this, &FrmPrincipal::mnuacercaClick);

    // F10 opens the first menu, as on other desktops; the menus have no other shortcut keys.
    auto* openMenus = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(openMenus, &QShortcut::activated, this, [this] {
        menuBar()->setActiveAction(m_mnuarchivo->menuAction());
        m_mnuarchivo->setActiveAction(m_mnuarchivo->actions().value(0));
    });
}

std::array<double, 7> FrmPrincipal::columnWidthsTwips(double scaleWidth)
{
    // Columns 2, 3, 4, 5 and 7 were computed in single precision, 1 and 6 in double.
    const auto single = [](double width, float less) {
        return static_cast<double>(static_cast<float>(width) / 7.0f - less);
    };
    return {scaleWidth / 7 - 41.42, single(scaleWidth, 48), single(scaleWidth, 48),
            single(scaleWidth, 48), single(scaleWidth, 44), scaleWidth / 7 - 41.42,
            single(scaleWidth, 44)};
}

void FrmPrincipal::setUpColumns()
{
    m_list->setModel(m_model);
    // The note box follows the selection, whether it moves by mouse or by keyboard, so that
    // it never shows one contact's note beside another contact's row.
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FrmPrincipal::showSelectedNote);
    const double scaleWidth = centralWidget()->width() * platform::kTwipsPerPixel;
    const auto widths = columnWidthsTwips(scaleWidth);
    for (int column = 0; column < ContactListModel::kColumnCount; ++column)
        m_list->setColumnWidth(column, platform::twipsToPixels(widths[column]));
    fitHeaderFont();
}

void FrmPrincipal::fitHeaderFont()
{
    // Rather than clip a caption ("Fecha Del Cumple"), the headers take a smaller size.
    QHeaderView* header = m_list->header();
    const int margins =
        2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) + 2;
    header->setFont(
        platform::shrinkUntilFits(header->font(), kSmallestHeaderPointSize, [&](const QFont& font) {
            const QFontMetrics metrics(font);
            for (int column = 0; column < ContactListModel::kColumnCount; ++column) {
                const QString caption =
                    m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
                if (metrics.horizontalAdvance(caption) + margins > m_list->columnWidth(column))
                    return false;
            }
            return true;
        }));
}

void FrmPrincipal::formLoad()
{
    // A failed registration must not hide the user's contacts: the start-up goes on.
    platform::registerReminderAtLogon(m_env.programDir, m_env.autostartDir);

    m_lbldate->setText(m_lbldate->text() +
                       QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    setUpColumns();
    loadContacts();
}

void FrmPrincipal::loadContacts()
{
    const contacts::FileContent file = contacts::readContactFile(m_env.programDir);
    if (file.status == contacts::FileContent::Status::Missing) {
        contacts::createEmptyContactFile(m_env.programDir);
    } else if (!file.ok()) {
        // An unreadable file is not an empty one: say so instead of showing an empty list.
        platform::showMessage(
            this,
            {QMessageBox::Warning, QStringLiteral("Tortavela"),
             QStringLiteral("No se pudo leer el archivo de contactos\n%1\n\n%2")
                 .arg(QString::fromStdString(contacts::contactFilePath(m_env.programDir).string()),
                      QString::fromLocal8Bit(file.error.c_str())),
             QMessageBox::Ok});
    }

    const contacts::ListedContacts listed = contacts::listContacts(file.bytes);
    m_model->setRows(listed.rows);
    if (!listed.rows.empty())
        setNote(platform::fromFileText(listed.firstNote));
    m_model->sortByName();
    showCount();
    setContactCommandsEnabled(contactCount() > 0);
}

std::optional<int> FrmPrincipal::selectedRow() const
{
    const QModelIndexList selected =
        m_list->selectionModel() ? m_list->selectionModel()->selectedRows() : QModelIndexList{};
    if (selected.isEmpty())
        return std::nullopt;
    return selected.first().row();
}

int FrmPrincipal::contactCount() const
{
    return m_model->rowCount();
}

std::optional<contacts::SelectedContact> FrmPrincipal::selectedContact() const
{
    const auto position = selectedRow();
    if (!position)
        return std::nullopt;
    const ContactListModel::Row row = m_model->row(*position);
    contacts::Fields fields;
    for (int i = 0; i < ContactListModel::kColumnCount; ++i) {
        auto text = platform::toFileText(row[i]);
        if (!text)
            return std::nullopt;
        fields[i] = std::move(*text);
    }
    auto noteText = platform::toFileText(m_note);
    if (!noteText)
        return std::nullopt;
    fields[contacts::Nota] = std::move(*noteText);
    return contacts::SelectedContact{contacts::buildLine(fields), fields[contacts::Nombre]};
}

QString FrmPrincipal::note() const
{
    return m_note;
}

void FrmPrincipal::setNote(const QString& note)
{
    m_note = note;
    m_txtdesc->setPlainText(note);
}

void FrmPrincipal::setContactCommandsEnabled(bool enabled)
{
    m_mnudel->setEnabled(enabled);
    m_mnumodi->setEnabled(enabled);
}

void FrmPrincipal::showCount()
{
    m_lblcant->setText(QString::number(contactCount()));
    m_lblcantcum->setText(countCaption(m_lblcant->text()));
}

void FrmPrincipal::selectRow(int position)
{
    const QModelIndex index = m_model->index(position, 0);
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
    m_list->scrollTo(index);
}

void FrmPrincipal::clearSelection()
{
    // Without a current row the view cannot move the selection to a neighbour of a removed
    // row: no row stays selected beside an empty note box and disabled commands.
    m_list->selectionModel()->clear();
}

void FrmPrincipal::showAddedContact(const ContactListModel::Row& row, const QString& note)
{
    const bool wasEmpty = contactCount() == 0;
    m_model->appendRow(row);
    m_model->sortByName();
    if (wasEmpty) {
        // The only contact is the one to act on: selecting it makes "Modificar..." and
        // "Quitar" act on what the note box shows.
        selectRow(0);
        setNote(note);
        setContactCommandsEnabled(true);
    }
    showCount();
}

void FrmPrincipal::showReplacedContact(int oldPosition, std::size_t droppedLines,
                                       const ContactListModel::Row& row)
{
    clearSelection();
    // The old rows go first, so that the new row is never taken for one of them.
    m_model->removeContactRows(oldPosition, droppedLines);
    m_model->appendRow(row);
    setNote(QString());
    m_model->sortByName();
    setContactCommandsEnabled(false);
}

void FrmPrincipal::showRemovedContact(int position, std::size_t droppedLines)
{
    clearSelection();
    m_model->removeContactRows(position, droppedLines);
    setNote(QString());
    showCount();
    setContactCommandsEnabled(false);
}

void FrmPrincipal::showSelectedNote()
{
    const auto position = selectedRow();
    if (!position) {
        setNote(QString());
        return;
    }
    // The note is looked up in the file rather than kept in the list: the file is what the
    // modify dialog and the removal will compare with. A file that cannot be read shows no note.
    const QString name = m_model->cell(*position, contacts::Nombre);
    const contacts::FileContent file = contacts::readContactFile(m_env.programDir);
    const auto nameBytes = platform::toFileText(name);
    const auto stored =
        file.ok() && nameBytes ? contacts::noteOf(file.bytes, *nameBytes) : std::nullopt;
    setNote(stored ? platform::fromFileText(*stored) : QString());
    setContactCommandsEnabled(true);
}

void FrmPrincipal::mnuaddClick()
{
    (new FrmAdd(*this))->show();
}

void FrmPrincipal::mnumodiClick()
{
    // With no row selected there is no contact to change; the command then does nothing.
    if (!selectedContact())
        return;
    (new FrmEdit(*this))->show();
}

void FrmPrincipal::mnudelClick()
{
    removeSelectedContact(*this);
}

void FrmPrincipal::mnuacercaClick()
{
    (new FrmAcerca(this))->show();
}

void FrmPrincipal::closeEvent(QCloseEvent* event)
{
    // While a dialog is open the main window takes no input, its close box included.
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}
