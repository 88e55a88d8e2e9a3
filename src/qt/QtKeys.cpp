#include "qt/QtKeys.h"

#include <Qt>

Key KeyFromQt(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Shift: return Key::Shift;
    case Qt::Key_Return:
    case Qt::Key_Enter: return Key::Return;
    case Qt::Key_Delete: return Key::Delete;
    default: break;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return static_cast<Key>(static_cast<int>(Key::F1) + (qtKey - Qt::Key_F1));
    return Key::Other;
}
