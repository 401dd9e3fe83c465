#include "manager/ContactDialog.h"

#include "contacts/Birthday.h"
#include "contacts/DuplicateNames.h"
#include "manager/FileProblemMessage.h"
#include "manager/ObjectNames.h"
#include "manager/StorableInput.h"
#include "manager/StorableTextEdit.h"
#include "platform/gui/Accessibility.h"
#include "platform/gui/DialogKeys.h"
#include "platform/gui/Geometry.h"
#include "platform/gui/MessageBox.h"
#include "platform/gui/QtText.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>

namespace manager {

using platform::twipsRect;

namespace {

constexpr double kClientWidth = 6255;
constexpr double kClientHeight = 4800;
constexpr double kLabelHeight = 255;
constexpr double kDesignPointSize = 8.25;
constexpr double kSmallestPointSize = 6.5;
constexpr int kDayCount = 31;

using contacts::ContactField;

constexpr int kNameIndex = static_cast<int>(ContactField::Name);
constexpr int kBirthdayIndex = static_cast<int>(ContactField::Birthday);
constexpr int kNoteIndex = static_cast<int>(ContactField::Note);
// A line input holds this many characters at most (Qt's own limit), and each change lays its
// whole text out again: a longer value gets a wrapped input, which holds it whole.
constexpr qsizetype kLongestLineValue = 32767;

struct LabelPlace {
    const char* name;
    const char* caption;
    double left;
    double top;
    double roomRight;    // where the next control starts
    const char* control; // the control it names, or nothing
};

// "&" marks the letter that reaches the control with Alt; the captions read as designed.
constexpr std::array<LabelPlace, 10> kLabels = {{
    {objectName::formNameCaption, "&Nombre :", 120, 170, 1680, objectName::fieldInputs[0]},
    {objectName::formAliasCaption, "A&lias :", 120, 650, 1680, objectName::fieldInputs[1]},
    {objectName::formAgeCaption, "&Edad Actual :", 120, 1130, 1680, objectName::fieldInputs[2]},
    {objectName::formBirthdayCaption, "Fecha Del Cumple :", 120, 1610, 1680, nullptr},
    {objectName::formDayCaption, "&Día :", 1680, 1610, 2160, objectName::dayList},
    {objectName::formMonthCaption, "&Mes :", 4200, 1605, 4680, objectName::monthList},
    {objectName::formPhoneCaption, "&Teléfono :", 120, 2090, 1680, objectName::fieldInputs[4]},
    {objectName::formAddressCaption, "Di&rección :", 120, 2570, 1680, objectName::fieldInputs[5]},
    {objectName::formEmailCaption, "E-Ma&il :", 120, 3050, 1680, objectName::fieldInputs[6]},
    {objectName::formNoteCaption, "N&ota :", 120, 3530, 1680, objectName::fieldInputs[7]},
}};

struct Place {
    double left;
    double top;
    double width;
    double height;
};

// Index i is the input of field i; the note is the several-line box.
constexpr std::array<Place, contacts::kFieldCount> kFieldPlaces = {{
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

QString dayText(int day)
{
    return QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0'));
}

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
            const QString caption = platform::withoutMnemonic(QString::fromUtf8(label.caption));
            if (metrics.horizontalAdvance(caption) > room)
                return false;
        }
        return true;
    });
}

} // namespace

ContactDialog::ContactDialog(QWidget* parent, std::optional<contacts::Contact> contact,
                             std::vector<std::string> storedNames)
    : QDialog(parent), m_original(std::move(contact)), m_storedNames(std::move(storedNames))
{
    setObjectName(m_original ? objectName::modifyDialog : objectName::addDialog);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(m_original ? QStringLiteral("Modificar") : QStringLiteral("Agregar"));
    setFixedSize(platform::twipsSize(kClientWidth, kClientHeight));
    setFont(fittedFont());
    buildControls();
    connect(m_acceptButton, &QPushButton::clicked, this, &ContactDialog::checkAndHandBack);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // No button is the default one: Enter presses the button that has the focus only (see
    // keyPressEvent). Escape cancels, as in any dialog.
    m_acceptButton->setAutoDefault(false);
    m_cancelButton->setAutoDefault(false);
    if (m_original)
        fillFrom(*m_original);
}

void ContactDialog::buildControls()
{
    for (int i = 0; i < contacts::kFieldCount; ++i) {
        const auto field = static_cast<ContactField>(i);
        const bool tooLongForALine = i != kBirthdayIndex && m_original &&
                                     m_original->field(field).size() > kLongestLineValue;
        QWidget* input = nullptr;
        if (i == kNoteIndex) {
            m_wrapped[i] = new StorableTextEdit(StorableTextEdit::LineBreaks::Blank, this);
            m_wrapped[i]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            input = m_wrapped[i];
        } else if (tooLongForALine) {
            m_wrapped[i] = new StorableTextEdit(StorableTextEdit::LineBreaks::Refused, this);
            // In the line input's place: a line of text and the scroll bar that reaches the rest.
            m_wrapped[i]->document()->setDocumentMargin(1);
            m_wrapped[i]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            m_wrapped[i]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            input = m_wrapped[i];
        } else {
            m_lines[i] = new QLineEdit(this);
            m_lines[i]->setMaxLength(kLongestLineValue);
            refuseUnstorableInput(m_lines[i]);
            input = m_lines[i];
        }
        input->setObjectName(objectName::fieldInputs[i]);
        input->setGeometry(placeRect(kFieldPlaces[i]));
    }
    // The composed birthday is kept here for the record; the user never sees it.
    m_lines[kBirthdayIndex]->hide();
    m_lines[kBirthdayIndex]->setFocusPolicy(Qt::NoFocus);

    m_dayList = new QComboBox(this);
    m_dayList->setObjectName(objectName::dayList);
    m_dayList->setGeometry(twipsRect(2160, 1560, 855, 315));
    for (int day = 1; day <= kDayCount; ++day)
        m_dayList->addItem(dayText(day));
    m_monthList = new QComboBox(this);
    m_monthList->setObjectName(objectName::monthList);
    m_monthList->setGeometry(twipsRect(4680, 1560, 1455, 315));
    for (const char* month : kMonths)
        m_monthList->addItem(QString::fromUtf8(month));
    for (QComboBox* list : {m_dayList, m_monthList}) {
        list->setCurrentIndex(-1);
        list->setMaxVisibleItems(12);
    }

    // The day list offers the days of the chosen month.
    connect(m_monthList, &QComboBox::currentIndexChanged, this, [this] { offerDays(chosenDay()); });
    connect(m_dayList, &QComboBox::currentIndexChanged, this, [this] {
        // A day the month lacks, kept from the file, leaves once another day is chosen.
        if (m_dayList->count() > monthDays())
            offerDays(chosenDay());
    });

    m_acceptButton = new QPushButton(QStringLiteral("&Aceptar"), this);
    m_acceptButton->setObjectName(objectName::acceptButton);
    m_acceptButton->setGeometry(twipsRect(120, 4320, 2775, 375));
    m_cancelButton = new QPushButton(QStringLiteral("&Cancelar"), this);
    m_cancelButton->setObjectName(objectName::cancelButton);
    m_cancelButton->setGeometry(twipsRect(3360, 4320, 2775, 375));

    for (const LabelPlace& place : kLabels) {
        auto* label = new QLabel(QString::fromUtf8(place.caption), this);
        label->setObjectName(place.name);
        const double width = place.roomRight - place.left;
        label->setGeometry(twipsRect(place.left, place.top, width, kLabelHeight));
        if (place.control)
            platform::nameAfterLabel(label, findChild<QWidget*>(place.control));
    }

    const auto input = [this](ContactField field) { return fieldInput(field); };
    const std::array<QWidget*, 12> tabOrder = {input(ContactField::Name),
                                               input(ContactField::Alias),
                                               input(ContactField::Age),
                                               m_dayList,
                                               m_monthList,
                                               input(ContactField::Phone),
                                               input(ContactField::Address),
                                               input(ContactField::Email),
                                               input(ContactField::Note),
                                               m_acceptButton,
                                               input(ContactField::Birthday),
                                               m_cancelButton};
    for (size_t i = 0; i + 1 < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i], tabOrder[i + 1]);
}

void ContactDialog::fillFrom(const contacts::Contact& contact)
{
    for (int i = 0; i < contacts::kFieldCount; ++i) {
        const auto field = static_cast<ContactField>(i);
        setFieldText(field, platform::fromFileText(contact.field(field)));
    }
    chooseBirthday(contact.birthday());
}

QString ContactDialog::fieldText(ContactField field) const
{
    const auto index = static_cast<size_t>(field);
    return m_lines[index] ? m_lines[index]->text() : m_wrapped[index]->storedText();
}

void ContactDialog::setFieldText(ContactField field, const QString& text)
{
    const auto index = static_cast<size_t>(field);
    if (m_lines[index])
        m_lines[index]->setText(text);
    else
        m_wrapped[index]->setStoredText(text);
}

QWidget* ContactDialog::fieldInput(ContactField field) const
{
    const auto index = static_cast<size_t>(field);
    return m_lines[index] ? static_cast<QWidget*>(m_lines[index]) : m_wrapped[index];
}

void ContactDialog::chooseBirthday(std::string_view storedBirthday)
{
    const auto birthday = contacts::parseBirthday(storedBirthday);
    m_monthList->setCurrentIndex(birthday ? birthday->month - 1 : -1);
    // A stored day the month lacks (31/02) is shown as stored, to be corrected.
    offerDays(birthday ? birthday->day : 0);
}

int ContactDialog::monthDays() const
{
    const int month = m_monthList->currentIndex() + 1;
    return month > 0 ? contacts::daysInMonth(month) : kDayCount;
}

int ContactDialog::chosenDay() const
{
    return m_dayList->currentIndex() < 0 ? 0 : m_dayList->currentText().toInt();
}

void ContactDialog::offerDays(int chosen)
{
    const int days = monthDays();
    const QSignalBlocker quiet(m_dayList);
    while (m_dayList->count() > days)
        m_dayList->removeItem(m_dayList->count() - 1);
    while (m_dayList->count() < days)
        m_dayList->addItem(dayText(m_dayList->count() + 1));
    // A day the month lacks stays chosen, after the month's own days, until another is chosen:
    // nothing the user chose, or the file holds, changes unseen.
    if (chosen > days)
        m_dayList->addItem(dayText(chosen));
    m_dayList->setCurrentIndex(chosen > days ? days : chosen - 1);
}

QString ContactDialog::composedBirthday() const
{
    return m_dayList->currentText() + QStringLiteral("/") +
           QStringLiteral("%1").arg(m_monthList->currentIndex() + 1, 2, 10, QLatin1Char('0'));
}

void ContactDialog::refuse(const QString& message, QWidget* atFault)
{
    platform::showMessage(
        this, {QMessageBox::Critical, QStringLiteral("Error"), message, QMessageBox::Ok});
    // Back to the field to correct.
    atFault->setFocus(Qt::OtherFocusReason);
}

bool ContactDialog::isNameTaken(std::string_view name) const
{
    const std::vector<std::string_view> names(m_storedNames.begin(), m_storedNames.end());
    return m_original ? contacts::isNameTakenByAnother(names, name, m_original->name())
                      : contacts::isNameStored(names, name);
}

void ContactDialog::checkAndHandBack()
{
    // Each input is read once: a long value takes a while to read.
    std::array<QString, contacts::kFieldCount> texts;
    for (int i = 0; i < contacts::kFieldCount; ++i)
        texts[i] =
            i == kBirthdayIndex ? composedBirthday() : fieldText(static_cast<ContactField>(i));

    // Only the empty text counts as no name: a name of blanks is a name.
    if (texts[kNameIndex].isEmpty())
        return refuse(QStringLiteral("Debe haber un nombre"), fieldInput(ContactField::Name));
    if (m_dayList->currentIndex() < 0)
        return refuse(QStringLiteral("Falta la fecha de cumpleaños"), m_dayList);
    if (m_monthList->currentIndex() < 0)
        return refuse(QStringLiteral("Falta la fecha de cumpleaños"), m_monthList);
    // A birthday that no year has is never announced: a stored 31/02 must be corrected.
    if (chosenDay() > monthDays()) {
        return refuse(QStringLiteral("La fecha de cumpleaños no existe: %1 tiene %2 días")
                          .arg(m_monthList->currentText().toLower())
                          .arg(monthDays()),
                      m_dayList);
    }

    // The inputs refuse what the file cannot hold as it is typed; text set by other means
    // still never reaches the file changed.
    for (int i = 0; i < contacts::kFieldCount; ++i) {
        if (const auto bad = firstUnstorableCharacter(texts[i])) {
            return refuse(QStringLiteral("El carácter «%1» (U+%2) no se puede guardar en el "
                                         "archivo de contactos.")
                                  .arg(*bad)
                                  .arg(static_cast<uint>(bad->unicode()), 4, 16, QLatin1Char('0')) +
                              storableOffer(texts[i], i != kNoteIndex),
                          fieldInput(static_cast<ContactField>(i)));
        }
    }
    contacts::Contact::Values values;
    for (int i = 0; i < contacts::kFieldCount; ++i)
        values[i] = *platform::toFileText(texts[i]);
    if (isNameTaken(values[kNameIndex])) {
        showRefusedChange(this, contacts::ChangeAnswer::Refusal::NameTaken);
        fieldInput(ContactField::Name)->setFocus(Qt::OtherFocusReason);
        return;
    }

    setFieldText(ContactField::Birthday, texts[kBirthdayIndex]);
    emit contactEntered(contacts::Contact(values));
}

void ContactDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Each opening starts in the name, the first input in the tab order, ready for typing.
    if (!event->spontaneous()) {
        activateWindow();
        fieldInput(ContactField::Name)->setFocus();
    }
}

void ContactDialog::keyPressEvent(QKeyEvent* event)
{
    // Enter in an input does not accept the dialog: only the focused button reacts to it.
    if (!platform::pressFocusedButtonOnEnter(this, event))
        QDialog::keyPressEvent(event);
}

} // namespace manager
