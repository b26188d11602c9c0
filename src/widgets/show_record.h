#pragma once

class TListView3;

// Ticks the row of record alone, scrolls to it and moves the highlight there,
// as going to a record found by the search does. False, with the list as it
// was, when no row shows the record.
bool TickAndShow(const void* record, TListView3* list);
