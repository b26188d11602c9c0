#pragma once

#include "search/search_kind.h"

class TForm5;

// The notebook's records as the search window looks through them, one row per
// kind: where it finds them, under which tab it groups them, and how the main
// window goes to one. A later kind of record is one more row here.
search::SearchKinds notebookSearchKinds(TForm5& window);
