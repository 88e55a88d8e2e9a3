#include "app/ContextHelpMode.h"

#include <QApplication>
#include <QKeyEvent>

void ContextHelpMode::Enter()
{
    if (m_bActive)
        return;
    m_bActive = true;
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    qApp->installEventFilter(this);
    emit activeChanged(true);
}

void ContextHelpMode::Leave()
{
    m_bActive = false;
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    emit activeChanged(false);
}

bool ContextHelpMode::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        Leave();
        emit helpRequested();
        return true;
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return true;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            Leave();
            return true;
        }
        break;
    case QEvent::ApplicationDeactivate:
        Leave();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
