#include "qt/DialogUnits.h"

#include <QFontMetrics>
#include <QWidget>

QSize DialogUnits(const QWidget* pWidget, int cx, int cy)
{
    const QFontMetrics metrics(pWidget->font());
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double baseX = metrics.horizontalAdvance(alphabet) / 52.0;
    const double baseY = metrics.height();
    return QSize(qRound(cx * baseX / 4), qRound(cy * baseY / 8));
}

void SizeButton(QWidget* pButton)
{
    pButton->setMinimumSize(pButton->minimumSizeHint().expandedTo(DialogUnits(pButton, 50, 14)));
}
