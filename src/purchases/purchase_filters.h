#pragma once

#include <QString>

// The year and month the purchases are narrowed to, as the filters show them
// (すべて for all); what follows the purchase tab reads them here.
class PurchaseFilters {
public:
    virtual QString filterYear() const = 0;
    virtual QString filterMonth() const = 0;

protected:
    ~PurchaseFilters() = default;
};
