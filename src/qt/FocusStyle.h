#pragma once

#include <QProxyStyle>

// The desktop's style, with the keyboard focus marked where the style leaves it unseen: on a
// push button, which some styles draw focused just as they draw the default button, and on
// the frame of a list, tree or text view, which shows nothing of the focus while it is empty
// or read-only.
class FocusStyle : public QProxyStyle
{
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    // Puts the application's style, whatever the desktop chose, inside a FocusStyle, once.
    static void Install();

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter, const QWidget* widget) const override;
};
