#include "qt/CommandText.h"

#include <QCoreApplication>
#include <QKeySequence>

#include "platform/CommandTable.h"

QString CommandMenuText(int id, bool bShortcut)
{
    const CommandInfo* pInfo = FindCommand(id);
    QString text = QCoreApplication::translate("Command", pInfo->menuText);
    if (bShortcut && *pInfo->shortcut)
        text += u'\t' + QKeySequence(QString::fromUtf8(pInfo->shortcut)).toString(QKeySequence::NativeText);
    return text;
}
