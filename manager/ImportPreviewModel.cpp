#include "manager/ImportPreviewModel.h"

#include "exchange/StorageProblem.h"
#include "platform/gui/ShownText.h"

#include <QGuiApplication>
#include <QPalette>
#include <QStringList>

namespace manager {

namespace {

using exchange::ImportMark;
using exchange::ImportRow;

QStringList remarksOf(const ImportRow& row)
{
    QStringList remarks;
    for (const auto& list : {row.reasons(), row.remarks()}) {
        for (const std::string& remark : list)
            remarks << QString::fromStdString(remark);
    }
    return remarks;
}

} // namespace

QString markText(ImportMark mark)
{
    switch (mark) {
    case ImportMark::New:
        return QStringLiteral("Nuevo");
    case ImportMark::NameStored:
        return QStringLiteral("Ya guardado");
    case ImportMark::NoBirthday:
        return QStringLiteral("Sin cumpleaños");
    case ImportMark::RepeatedInFile:
        break;
    }
    return QStringLiteral("Repetido en el archivo");
}

ImportPreviewModel::ImportPreviewModel(std::vector<ImportRow> rows, QObject* parent)
    : QAbstractTableModel(parent), m_rows(std::move(rows)), m_chosen(m_rows.size())
{
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        m_chosen[i] = m_rows[i].chosenAtFirst();
}

int ImportPreviewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ImportPreviewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ImportPreviewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const ImportRow& row = m_rows[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    if (column == Mark && role == Qt::CheckStateRole && row.choosable())
        return isChosen(index.row()) ? Qt::Checked : Qt::Unchecked;
    // A card's value may be as long as its file: the rows show the start of a long one.
    if (role == Qt::ToolTipRole && column == Remarks)
        return platform::shownText(remarksOf(row).join(QLatin1Char('\n')), platform::kShownInRow);
    // A card that cannot be imported reads greyed out (see flags).
    if (role == Qt::ForegroundRole && !row.choosable())
        return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
    if (role != Qt::DisplayRole)
        return {};
    if (column == Mark)
        return markText(row.mark);
    if (column == Remarks)
        return platform::shownText(remarksOf(row).join(QLatin1Char(' ')), platform::kShownInRow);
    const auto role8 = static_cast<exchange::Role>(column - FirstField);
    return platform::shownUtf8Text(exchange::valueOf(row.result, role8), platform::kShownInRow);
}

bool ImportPreviewModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != Mark || role != Qt::CheckStateRole)
        return false;
    if (!m_rows[static_cast<std::size_t>(index.row())].choosable())
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
    if (index.column() == Mark && m_rows[static_cast<std::size_t>(index.row())].choosable())
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

void ImportPreviewModel::choose(int row, bool chosen)
{
    const auto at = static_cast<std::size_t>(row);
    if (!m_rows[at].choosable() || m_chosen[at] == chosen)
        return;
    m_chosen[at] = chosen;
    emit dataChanged(index(row, Mark), index(row, Mark), {Qt::CheckStateRole});
    emit choiceChanged();
}

void ImportPreviewModel::chooseUpdates(bool chosen)
{
    bool changed = false;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].choosable() && m_rows[i].updated && m_chosen[i] != chosen) {
            m_chosen[i] = chosen;
            changed = true;
        }
    }
    if (!changed)
        return;
    emit dataChanged(index(0, Mark), index(rowCount() - 1, Mark), {Qt::CheckStateRole});
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
        else if (row.updated)
            ++counts.updatesPossible;
        if (m_chosen[i])
            ++(row.updated ? counts.updatesChosen : counts.newChosen);
    }
    return counts;
}

} // namespace manager
