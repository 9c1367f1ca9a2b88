#pragma once

#include <QProxyStyle>

// Makes a combo box open a plain drop-down list of at most its maximum visible items, whatever the
// platform style prefers: the styles that open a menu-like popup instead ignore that limit and measure
// every entry first, which stalls on tens of thousands of long texts.
class ListPopupStyle : public QProxyStyle
{
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};
