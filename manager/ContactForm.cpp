#include "ContactForm.h"

#include "Accessibility.h"
#include "Birthday.h"
#include "ContactFile.h"
#include "FileProblemMessage.h"
#include "FrmPrincipal.h"
#include "Geometry.h"
#include "MessageBox.h"
#include "QtText.h"
#include "StorableInput.h"
#include "StorableNoteEdit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>

using platform::twipsRect;

namespace {

constexpr double kClientWidth = 6255;
constexpr double kClientHeight = 4800;
constexpr double kLabelHeight = 255;
constexpr double kDesignPointSize = 8.25;
constexpr double kSmallestPointSize = 6.5;
constexpr int kDayCount = 31;

constexpr int kNameIndex = contacts::Nombre;
constexpr int kBirthdayIndex = contacts::Cumple;
constexpr int kNoteIndex = contacts::Nota;

struct LabelPlace {
    const char* name;
    const char* caption;
    double left;
    double top;
    double roomRight;    // where the next control starts
    const char* control; // the control it names, or nothing
};

constexpr std::array<LabelPlace, 10> kLabels = {{
    {"Label1", "Nombre :", 120, 170, 1680, "txt(0)"},
    {"Label2", "Alias :", 120, 650, 1680, "txt(1)"},
    {"Label3", "Edad Actual :", 120, 1130, 1680, "txt(2)"},
    {"Label4", "Fecha Del Cumple :", 120, 1610, 1680, nullptr},
    {"Label9", "Día :", 1680, 1610, 2160, "cmbdia"},
    {"Label10", "Mes :", 4200, 1605, 4680, "cmbmes"},
    {"Label5", "Teléfono :", 120, 2090, 1680, "txt(4)"},
    {"Label6", "Dirección :", 120, 2570, 1680, "txt(5)"},
    {"Label7", "E-Mail :", 120, 3050, 1680, "txt(6)"},
    {"Label8", "Nota :", 120, 3530, 1680, "txt(7)"},
}};

struct Place {
    double left;
    double top;
    double width;
    double height;
};

// Index i is txt(i); the note is the several-line box.
constexpr std::array<Place, contacts::kFieldCount> kTxtPlaces = {{
    {1680, 120, 4455, 315},
    {1680, 600, 4455, 315},
    {1680, 1080, 4455, 315},
    {0, 3840, 855, 315},
    {1680, 2040, 4455, 315},
    {1680, 2520, 4455, 315},
    {1680, 3000, 4455, 315},
    {1680, 3480, 4455, 555},
}};

constexpr std::array<const char*, 12> kMonths = {"Enero",      "Febrero", "Marzo",     "Abril",
                                                 "Mayo",       "Junio",   "Julio",     "Agosto",
                                                 "Septiembre", "Octubre", "Noviembre", "Diciembre"};

QRect placeRect(const Place& place)
{
    return twipsRect(place.left, place.top, place.width, place.height);
}

// With a wider face than the form's the longest captions would run into their controls.
QFont fittedFont()
{
    constexpr int kGapPixels = 3;
    QFont font = QApplication::font();
    font.setPointSizeF(kDesignPointSize);
    return platform::shrinkUntilFits(font, kSmallestPointSize, [](const QFont& candidate) {
        const QFontMetrics metrics(candidate);
        for (const LabelPlace& label : kLabels) {
            const int room = platform::twipsToPixels(label.roomRight - label.left) - kGapPixels;
            if (metrics.horizontalAdvance(QString::fromUtf8(label.caption)) > room)
                return false;
        }
        return true;
    });
}

} // namespace

ContactForm::ContactForm(FrmPrincipal& mainWindow, const QString& title, const char* objectName)
    : QWidget(&mainWindow, Qt::Dialog), m_mainWindow(mainWindow),
      m_mainWindowDisabled(&mainWindow, this)
{
    setObjectName(objectName);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    setFixedSize(platform::twipsSize(kClientWidth, kClientHeight));
    setFont(fittedFont());
    buildControls();
    connect(m_cmdaceptar, &QPushButton::clicked, this, &ContactForm::cmdaceptarClick);
    // Closing runs closeEvent, which enables the main window again.
    connect(m_cmdcancel, &QPushButton::clicked, this, &QWidget::close);
    // As in any dialog: Enter presses the button that has the focus, Escape cancels.
    m_cmdaceptar->setAutoDefault(true);
    m_cmdcancel->setAutoDefault(true);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, m_cmdcancel, &QPushButton::click);
}

void ContactForm::buildControls()
{
    for (int i = 0; i < contacts::kFieldCount; ++i) {
        QWidget* input = nullptr;
        if (i == kNoteIndex) {
            m_note = new StorableNoteEdit(this);
            m_note->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            input = m_note;
        } else {
            m_lines[i] = new QLineEdit(this);
            refuseUnstorableInput(m_lines[i]);
            input = m_lines[i];
        }
        input->setObjectName(QStringLiteral("txt(%1)").arg(i));
        input->setGeometry(placeRect(kTxtPlaces[i]));
    }
    // The composed birthday is kept here for the record and the list; the user never sees it.
    m_lines[kBirthdayIndex]->hide();
    m_lines[kBirthdayIndex]->setFocusPolicy(Qt::NoFocus);

    m_cmbdia = new QComboBox(this);
    m_cmbdia->setObjectName("cmbdia");
    m_cmbdia->setGeometry(twipsRect(2160, 1560, 855, 315));
    for (int day = 1; day <= kDayCount; ++day)
        m_cmbdia->addItem(QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0')));
    m_cmbmes = new QComboBox(this);
    m_cmbmes->setObjectName("cmbmes");
    m_cmbmes->setGeometry(twipsRect(4680, 1560, 1455, 315));
    for (const char* month : kMonths)
        m_cmbmes->addItem(QString::fromUtf8(month));
    for (QComboBox* list : {m_cmbdia, m_cmbmes}) {
        list->setCurrentIndex(-1);
        list->setMaxVisibleItems(12);
    }

    m_cmdaceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    m_cmdaceptar->setObjectName("cmdaceptar");
    m_cmdaceptar->setGeometry(twipsRect(120, 4320, 2775, 375));
    m_cmdcancel = new QPushButton(QStringLiteral("Cancelar"), this);
    m_cmdcancel->setObjectName("cmdcancel");
    m_cmdcancel->setGeometry(twipsRect(3360, 4320, 2775, 375));

    for (const LabelPlace& place : kLabels) {
        auto* label = new QLabel(QString::fromUtf8(place.caption), this);
        label->setObjectName(place.name);
        const double width = place.roomRight - place.left;
        label->setGeometry(twipsRect(place.left, place.top, width, kLabelHeight));
        if (place.control)
            platform::nameAfterLabel(label, findChild<QWidget*>(place.control));
    }

    const std::array<QWidget*, 12> tabOrder = {txtWidget(0),
                                               txtWidget(1),
                                               txtWidget(2),
                                               m_cmbdia,
                                               m_cmbmes,
                                               txtWidget(4),
                                               txtWidget(5),
                                               txtWidget(6),
                                               txtWidget(7),
                                               m_cmdaceptar,
                                               txtWidget(kBirthdayIndex),
                                               m_cmdcancel};
    for (size_t i = 0; i + 1 < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i], tabOrder[i + 1]);
}

QString ContactForm::txt(int index) const
{
    return index == kNoteIndex ? m_note->storedText() : m_lines[index]->text();
}

void ContactForm::setTxt(int index, const QString& text)
{
    if (index == kNoteIndex)
        m_note->setPlainText(text);
    else
        m_lines[index]->setText(text);
}

QWidget* ContactForm::txtWidget(int index) const
{
    return index == kNoteIndex ? static_cast<QWidget*>(m_note) : m_lines[index];
}

void ContactForm::chooseBirthday(std::string_view storedBirthday)
{
    const auto birthday = contacts::parseBirthday(storedBirthday);
    m_cmbdia->setCurrentIndex(birthday ? birthday->day - 1 : -1);
    m_cmbmes->setCurrentIndex(birthday ? birthday->month - 1 : -1);
}

QString ContactForm::composedBirthday() const
{
    return m_cmbdia->currentText() + QStringLiteral("/") +
           QStringLiteral("%1").arg(m_cmbmes->currentIndex() + 1, 2, 10, QLatin1Char('0'));
}

void ContactForm::refuse(const QString& message, bool asError)
{
    platform::showMessage(this, {asError ? QMessageBox::Critical : QMessageBox::Information,
                                 QStringLiteral("Error"), message, QMessageBox::Ok});
}

void ContactForm::cmdaceptarClick()
{
    // Only the empty text counts as no name: a name of blanks is a name.
    if (txt(kNameIndex).isEmpty())
        return refuse(QStringLiteral("Debe haber un nombre"), true);
    if (m_cmbdia->currentIndex() < 0 || m_cmbmes->currentIndex() < 0)
        return refuse(QStringLiteral("Falta la fecha de cumpleaños"), true);

    // The inputs refuse what the file cannot hold as it is typed; text set by other means
    // still never reaches the file changed.
    for (int i = 0; i < contacts::kFieldCount; ++i) {
        if (i == kBirthdayIndex)
            continue;
        if (const auto bad = firstUnstorableCharacter(txt(i))) {
            return refuse(QStringLiteral("El carácter «%1» (U+%2) no se puede guardar en el "
                                         "archivo de contactos.")
                              .arg(*bad)
                              .arg(static_cast<uint>(bad->unicode()), 4, 16, QLatin1Char('0')),
                          true);
        }
    }

    const contacts::FileContent file = contacts::readContactFile(mainWindow().programDir());
    // A file removed while the manager runs holds no names; an unreadable one cannot be
    // checked, and storing would fail on it as well.
    if (file.status == contacts::FileContent::Status::Failed) {
        return showFileProblem(this, QStringLiteral("No se pudo leer el archivo de contactos."),
                               mainWindow().programDir(), file.error);
    }
    const std::string name = *platform::toFileText(txt(kNameIndex));
    if (isNameTaken(file.bytes, name))
        return refuse(QStringLiteral("El contacto con el nombre dado ya existe"), false);

    setTxt(kBirthdayIndex, composedBirthday());
    contacts::Fields record;
    ContactListModel::Row row;
    for (int i = 0; i < contacts::kFieldCount; ++i) {
        record[i] = *platform::toFileText(txt(i));
        if (i < ContactListModel::kColumnCount)
            row[i] = txt(i);
    }
    if (store(record, row))
        close();
}

void ContactForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Each opening starts in the name, the first input in the tab order, ready for typing.
    if (!event->spontaneous()) {
        activateWindow();
        txtWidget(kNameIndex)->setFocus();
    }
}

void ContactForm::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        m_mainWindowDisabled.release();
}
