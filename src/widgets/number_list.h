#pragma once

class QComboBox;

// Type-ahead for a drop-down of numbers (years, months, weeks, days), closed or
// open: the digits typed one after another make one number, which is looked
// for from the top as a whole item, so 3 picks 3 even after 15, 1 then 5
// picks 15, and 2, 0, 2, 6 picks 2026. A digit that no item continues with
// starts a new number; a number that is no item changes nothing. Full-width
// digits count as digits; every other key works as usual.
void typeAheadByNumber(QComboBox* list);
