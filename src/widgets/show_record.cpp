#include "widgets/show_record.h"

#include "widgets/list_view3.h"

bool TickAndShow(const void* record, TListView3* list) {
    CheckByData(record, list);
    const int i = list->CheckedIndex();
    if (i < 0 || list->rows()->record(i) != record)
        return false;
    const QModelIndex index = list->row(i).modelIndex();
    list->setCurrentIndex(index);
    list->scrollTo(index);
    list->setFocus();
    return true;
}
