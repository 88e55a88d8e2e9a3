#include "qt/FocusStyle.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QPainter>
#include <QStyleOption>

void FocusStyle::Install()
{
    if (!qobject_cast<FocusStyle*>(QApplication::style()))
        QApplication::setStyle(new FocusStyle(QApplication::style()->name()));
}

void FocusStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter, const QWidget* widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    // Marked only once the keyboard has moved the focus, as the styles mark it themselves.
    if (!option->state.testFlag(State_HasFocus) || !option->state.testFlag(State_KeyboardFocusChange))
        return;
    if (element == CE_PushButton) {
        painter->save();
        painter->setPen(QPen(option->palette.color(QPalette::ButtonText), 1, Qt::DotLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(subElementRect(SE_PushButtonFocusRect, option, widget).adjusted(0, 0, -1, -1));
        painter->restore();
    } else if (element == CE_ShapedFrame && qobject_cast<const QAbstractScrollArea*>(widget)) {
        painter->save();
        painter->setPen(QPen(option->palette.color(QPalette::Highlight), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(option->rect).adjusted(1, 1, -1, -1));
        painter->restore();
    }
}
