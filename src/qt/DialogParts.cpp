#include "qt/DialogParts.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QPushButton>

QSize DialogUnits(const QWidget* pWidget, int cx, int cy)
{
    const QFontMetrics metrics(pWidget->font());
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double baseX = metrics.horizontalAdvance(alphabet) / 52.0;
    const double baseY = metrics.height();
    return QSize(qRound(cx * baseX / 4), qRound(cy * baseY / 8));
}

QPushButton* NewButton(const QString& text, const char* objectName)
{
    auto* pButton = new QPushButton(text);
    pButton->setObjectName(QString::fromUtf8(objectName));
    pButton->setMinimumSize(pButton->minimumSizeHint().expandedTo(DialogUnits(pButton, 50, 14)));
    return pButton;
}

std::pair<QPushButton*, QPushButton*> NewOkCancel(QDialog* pDialog)
{
    QPushButton* pOk = NewButton(QCoreApplication::translate("DialogParts", "OK"), "okButton");
    pOk->setDefault(true);
    QPushButton* pCancel = NewButton(QCoreApplication::translate("DialogParts", "Cancel"), "cancelButton");
    QObject::connect(pOk, &QPushButton::clicked, pDialog, &QDialog::accept);
    QObject::connect(pCancel, &QPushButton::clicked, pDialog, &QDialog::reject);
    return { pOk, pCancel };
}
