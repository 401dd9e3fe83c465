#include "platform/gui/RowList.h"

#include "platform/gui/WholeGlyphRows.h"

#include <QHeaderView>
#include <QTreeView>

namespace platform {

void makeRowList(QTreeView* view)
{
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    giveRowsRoomForAccents(view);
    view->setAllColumnsShowFocus(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->header()->setSectionsMovable(false);
}

} // namespace platform
