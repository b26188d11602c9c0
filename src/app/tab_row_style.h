#pragma once

#include <QProxyStyle>

// The main window's tabs with the room beside the caption that Windows gives a
// tab, instead of the toolkit's wider one: eight tabs and the commands in the
// row's corner then share 776 pixels without scroll arrows.
class TTabRowStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    static constexpr int kTabSpace = 16;

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};
