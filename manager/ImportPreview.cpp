#include "manager/ImportPreview.h"

#include "manager/ImportCardList.h"
#include "manager/ImportPreviewModel.h"
#include "manager/ObjectNames.h"
#include "platform/gui/DialogKeys.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTreeView>
#include <QVBoxLayout>

namespace manager {

namespace {

// Widths are measured on this many rows: enough to show what is typical, few enough for a
// file of ten thousand cards.
constexpr int kRowsMeasured = 64;
// No column takes more than this many average characters; the tooltip and the row's own
// width show the rest.
constexpr int kWidestColumnCharacters = 28;

QString counted(int count, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromUtf8(count == 1 ? one : many));
}

QString choiceSummary(const ImportPreviewModel::Counts& counts)
{
    QString text;
    const int newOnes = counts.newChosen;
    const int updates = counts.updatesChosen;
    if (newOnes == 0 && updates == 0) {
        text = QStringLiteral("No se ha elegido ningún contacto.");
    } else if (updates == 0) {
        text = (newOnes == 1 ? QStringLiteral("Se guardará ") : QStringLiteral("Se guardarán ")) +
               counted(newOnes, "contacto nuevo.", "contactos nuevos.");
    } else if (newOnes == 0) {
        text = (updates == 1 ? QStringLiteral("Se actualizará ")
                             : QStringLiteral("Se actualizarán ")) +
               counted(updates, "contacto ya guardado.", "contactos ya guardados.");
    } else {
        text = (newOnes == 1 ? QStringLiteral("Se guardará ") : QStringLiteral("Se guardarán ")) +
               counted(newOnes, "contacto nuevo", "contactos nuevos") +
               (updates == 1 ? QStringLiteral(" y se actualizará ")
                             : QStringLiteral(" y se actualizarán ")) +
               counted(updates, "ya guardado.", "ya guardados.");
    }
    if (counts.notImportable > 0)
        text += QLatin1Char(' ') +
                counted(counts.notImportable,
                        "tarjeta no se puede importar: va al final, con el motivo.",
                        "tarjetas no se pueden importar: van al final, con el motivo.");
    return text;
}

} // namespace

ImportPreview::ImportPreview(QWidget* parent, const QString& fileName,
                             std::vector<exchange::ImportRow> rows,
                             std::chrono::year_month_day today)
    : QDialog(parent), m_today(today)
{
    setObjectName(objectName::importPreview);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Importar contactos"));
    m_model = new ImportPreviewModel(std::move(rows), this);
    buildControls(fileName);
    connect(m_model, &ImportPreviewModel::choiceChanged, this, &ImportPreview::showChoice);
    connect(m_updateBox, &QCheckBox::clicked, this,
            [this] { m_model->chooseUpdates(m_updateBox->checkState() == Qt::Checked); });
    connect(m_importButton, &QPushButton::clicked, this, [this] {
        emit importChosen(exchange::importBatch(m_model->rows(), m_model->chosenRows(), m_today));
    });
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    showChoice();
}

void ImportPreview::buildControls(const QString& fileName)
{
    const int cards = m_model->rowCount();
    auto* intro = new QLabel(QStringLiteral("«%1»: %2. Marque los contactos que quiere guardar.")
                                 .arg(fileName, counted(cards, "tarjeta", "tarjetas")),
                             this);
    intro->setObjectName(objectName::importIntro);
    intro->setWordWrap(true);

    m_list = new ImportCardList(this);
    m_list->setObjectName(objectName::importList);
    m_list->setAccessibleName(QStringLiteral("Tarjetas"));
    m_list->setModel(m_model);
    fitColumns();

    // The remarks of the card under the cursor, for the keyboard's user.
    m_remarks = new QLabel(this);
    m_remarks->setObjectName(objectName::importRemarks);
    m_remarks->setWordWrap(true);
    m_remarks->setMinimumHeight(2 * QFontMetrics(m_remarks->font()).lineSpacing());
    m_remarks->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &ImportPreview::showRemarks);

    m_updateBox =
        new QCheckBox(QStringLiteral("Actualizar también los contactos ya guardados"), this);
    m_updateBox->setObjectName(objectName::importUpdates);
    m_summary = new QLabel(this);
    m_summary->setObjectName(objectName::importSummary);
    m_summary->setWordWrap(true);

    m_importButton = new QPushButton(QStringLiteral("Importar"), this);
    m_importButton->setObjectName(objectName::importButton);
    m_cancelButton = new QPushButton(QStringLiteral("Cancelar"), this);
    m_cancelButton->setObjectName(objectName::cancelButton);
    // As in the contact dialogs, Enter presses the focused button only (see keyPressEvent).
    m_importButton->setAutoDefault(false);
    m_cancelButton->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_summary, 1);
    buttons->addWidget(m_importButton);
    buttons->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_remarks);
    layout->addWidget(m_updateBox);
    layout->addLayout(buttons);

    // Room for the columns of a typical card, within the screen.
    const QFontMetrics metrics(font());
    QSize size(metrics.averageCharWidth() * 130, metrics.height() * 26);
    if (const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    resize(size);
}

void ImportPreview::fitColumns()
{
    QHeaderView* header = m_list->header();
    header->setResizeContentsPrecision(kRowsMeasured);
    header->setStretchLastSection(true);
    const int widest = QFontMetrics(m_list->font()).averageCharWidth() * kWidestColumnCharacters;
    for (int column = 0; column < ImportPreviewModel::Remarks; ++column) {
        m_list->resizeColumnToContents(column);
        if (m_list->columnWidth(column) > widest)
            m_list->setColumnWidth(column, widest);
    }
}

void ImportPreview::showChoice()
{
    const ImportPreviewModel::Counts counts = m_model->counts();
    m_summary->setText(choiceSummary(counts));
    m_importButton->setEnabled(counts.newChosen + counts.updatesChosen > 0);

    m_updateBox->setEnabled(counts.updatesPossible > 0);
    const bool some = counts.updatesChosen > 0;
    const bool all = some && counts.updatesChosen == counts.updatesPossible;
    // Partly checked only while the user has checked some updates by hand.
    m_updateBox->setTristate(some && !all);
    m_updateBox->setCheckState(all ? Qt::Checked : some ? Qt::PartiallyChecked : Qt::Unchecked);
}

void ImportPreview::showRemarks(const QModelIndex& current)
{
    const QString remarks = current.isValid() ? m_model->remarks(current.row()) : QString();
    m_remarks->setText(QStringLiteral("Observaciones: ") +
                       (remarks.isEmpty() ? QStringLiteral("ninguna.") : remarks));
}

void ImportPreview::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        activateWindow();
        m_list->setFocus();
        if (m_model->rowCount() > 0 && !m_list->currentIndex().isValid())
            m_list->setCurrentIndex(m_model->index(0, 0));
    }
}

void ImportPreview::keyPressEvent(QKeyEvent* event)
{
    if (!platform::pressFocusedButtonOnEnter(this, event))
        QDialog::keyPressEvent(event);
}

} // namespace manager
