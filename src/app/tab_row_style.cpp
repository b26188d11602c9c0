#include "app/tab_row_style.h"

int TTabRowStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    if (metric == PM_TabBarTabHSpace)
        return kTabSpace;
    return QProxyStyle::pixelMetric(metric, option, widget);
}
