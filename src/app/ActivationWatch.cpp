#include "app/ActivationWatch.h"

#include <QEvent>

ActivationWatch::ActivationWatch(QWidget* pWindow, std::function<void()> onActivate, QObject* pParent)
    : QObject(pParent)
    , m_onActivate(std::move(onActivate))
{
    pWindow->installEventFilter(this);
}

bool ActivationWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        m_onActivate();
    return QObject::eventFilter(watched, event);
}
