#include "manager/ImportPreviewModel.h"

#include "exchange/StorageProblem.h"
#include "platform/gui/ShownText.h"

#include <QGuiApplication>
#include <QPalette>
#include <QStringList>
#include <algorithm>

namespace manager {

namespace {

using exchange::ImportMark;
using exchange::ImportRow;

// What the cell of a value shows: the value stored, and before it the card's own when the
// import changed it ("Łukasz → Lukasz").
QString shownValue(const ImportRow& row, exchange::Role role)
{
    const QString stored =
        platform::shownUtf8Text(exchange::valueOf(row.result, role), platform::kShownInRow);
    const auto changed =
        std::find_if(row.changes.begin(), row.changes.end(), [role](const auto& change) {
            return change.role == role && change.kind == exchange::ValueChange::Transliterated;
        });
    if (changed == row.changes.end())
        return stored;
    return platform::shownUtf8Text(changed->original, platform::kShownInRow) +
           QStringLiteral(" → ") + stored;
}

} // namespace

QString markText(const ImportRow& row)
{
    if (!row.choosable())
        return QStringLiteral("No se puede importar");
    switch (row.mark) {
    case ImportMark::New:
        return QStringLiteral("Nuevo");
    case ImportMark::NameStored:
        return QStringLiteral("Ya guardado");
    case ImportMark::NoBirthday:
    case ImportMark::RepeatedInFile:
        break;
    }
    return QStringLiteral("Repetido en el archivo");
}

ImportPreviewModel::ImportPreviewModel(std::vector<ImportRow> rows, QObject* parent)
    : QAbstractTableModel(parent), m_rows(std::move(rows)), m_chosen(m_rows.size()),
      m_shownAt(m_rows.size())
{
    m_order.reserve(m_rows.size());
    for (const bool importable : {true, false}) {
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            if (m_rows[i].choosable() == importable)
                m_order.push_back(static_cast<std::uint32_t>(i));
        }
    }
    for (std::size_t shown = 0; shown < m_order.size(); ++shown)
        m_shownAt[m_order[shown]] = static_cast<int>(shown);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        m_chosen[i] = m_rows[i].chosenAtFirst();
        if (m_rows[i].choosable() && m_rows[i].nameRepeated)
            m_sameName[m_rows[i].firstOfName].push_back(i);
    }
}

int ImportPreviewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ImportPreviewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

const ImportRow& ImportPreviewModel::shownRow(int row) const
{
    return m_rows[planIndex(row)];
}

QString ImportPreviewModel::remarks(int row, QChar between) const
{
    const ImportRow& shown = shownRow(row);
    QStringList remarks;
    for (const auto& list : {shown.reasons(), shown.remarks()}) {
        for (const std::string& remark : list)
            remarks << QString::fromStdString(remark);
    }
    return platform::shownText(remarks.join(between), platform::kShownInRow);
}

QVariant ImportPreviewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const ImportRow& row = shownRow(index.row());
    const int column = index.column();
    if (column == Mark && role == Qt::CheckStateRole && row.choosable())
        return isChosen(index.row()) ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ToolTipRole && column == Remarks)
        return remarks(index.row(), QLatin1Char('\n'));
    // A screen reader reads the remarks with the card's mark, as the second line shows them.
    if (role == Qt::AccessibleDescriptionRole && column == Mark)
        return remarks(index.row());
    // A card that cannot be imported reads greyed out (see flags).
    if (role == Qt::ForegroundRole && !row.choosable())
        return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
    if (role != Qt::DisplayRole)
        return {};
    if (column == Mark)
        return markText(row);
    if (column == Remarks)
        return remarks(index.row());
    return shownValue(row, static_cast<exchange::Role>(column - FirstField));
}

bool ImportPreviewModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != Mark || role != Qt::CheckStateRole)
        return false;
    if (!shownRow(index.row()).choosable())
        return false;
    choose(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
    return true;
}

Qt::ItemFlags ImportPreviewModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // A card that cannot be imported has no box to check, but the cursor still reaches it, so
    // that its remarks can be read.
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == Mark && shownRow(index.row()).choosable())
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant ImportPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    if (section == Mark)
        return QStringLiteral("Estado");
    if (section == Remarks)
        return QStringLiteral("Observaciones");
    const std::string_view caption = exchange::fieldCaption(exchange::Role(section - FirstField));
    return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

void ImportPreviewModel::showChoiceOf(std::size_t at)
{
    const QModelIndex changed = index(m_shownAt[at], Mark);
    emit dataChanged(changed, changed, {Qt::CheckStateRole});
}

void ImportPreviewModel::setChosen(std::size_t at, bool chosen)
{
    if (m_chosen[at] == chosen)
        return;
    m_chosen[at] = chosen;
    showChoiceOf(at);
    if (!chosen || !m_rows[at].nameRepeated)
        return;
    for (std::size_t other : m_sameName[m_rows[at].firstOfName]) {
        if (other != at && m_chosen[other]) {
            m_chosen[other] = false;
            showChoiceOf(other);
        }
    }
}

void ImportPreviewModel::choose(int row, bool chosen)
{
    const std::size_t at = planIndex(row);
    if (!m_rows[at].choosable() || m_chosen[at] == chosen)
        return;
    setChosen(at, chosen);
    emit choiceChanged();
}

void ImportPreviewModel::chooseUpdates(bool chosen)
{
    // An update of a name stands for all its cards: one of them is chosen, or none.
    const auto nameChosen = [this](std::size_t first) {
        const auto same = m_sameName.find(first);
        if (same == m_sameName.end())
            return static_cast<bool>(m_chosen[first]);
        return std::any_of(same->second.begin(), same->second.end(),
                           [this](std::size_t at) { return m_chosen[at]; });
    };
    bool changed = false;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const ImportRow& row = m_rows[i];
        if (!row.choosable() || !row.updated)
            continue;
        if (chosen ? row.firstOfName == i && !nameChosen(i) : m_chosen[i]) {
            setChosen(i, chosen);
            changed = true;
        }
    }
    if (changed)
        emit choiceChanged();
}

std::vector<std::size_t> ImportPreviewModel::chosenRows() const
{
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_chosen[i])
            chosen.push_back(i);
    }
    return chosen;
}

ImportPreviewModel::Counts ImportPreviewModel::counts() const
{
    Counts counts;
    counts.cards = rowCount();
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const ImportRow& row = m_rows[i];
        if (!row.choosable())
            ++counts.notImportable;
        else if (row.updated && row.firstOfName == i)
            ++counts.updatesPossible;
        if (m_chosen[i])
            ++(row.updated ? counts.updatesChosen : counts.newChosen);
    }
    return counts;
}

} // namespace manager
