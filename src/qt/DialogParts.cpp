#include "qt/DialogParts.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

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

QLabel* NewBuddyLabel(const QString& text, const char* objectName, QWidget* pBuddy)
{
    auto* pLabel = new QLabel(text);
    pLabel->setObjectName(QString::fromLatin1(objectName));
    pLabel->setBuddy(pBuddy);
    pBuddy->setAccessibleName(pLabel->text().remove(QLatin1Char('&')));
    return pLabel;
}

void KeepOnScreen(QWidget* pWindow)
{
    const QScreen* pScreen = pWindow->screen();
    if (!pScreen)
        return;
    const QRect available = pScreen->availableGeometry();
    const QSize frame = pWindow->frameGeometry().size() - pWindow->size();
    const QSize room = available.size() - frame;
    // As large as it asks to be, where the screen has room: Qt's first size is at most two
    // thirds of the screen.
    pWindow->resize(pWindow->size().expandedTo(pWindow->sizeHint().boundedTo(room)));
    // Tall enough for its wrapped texts at its width; wider where the screen is not that tall.
    if (const QLayout* pLayout = pWindow->layout(); pLayout && pLayout->hasHeightForWidth()) {
        int width = pWindow->width();
        while (pLayout->totalHeightForWidth(width) > room.height() && width < room.width())
            width = std::min(room.width(), width + room.width() / 16);
        pWindow->resize(width, std::max(pWindow->height(), pLayout->totalHeightForWidth(width)));
    }
    pWindow->resize(pWindow->size().boundedTo(room));
    const QSize outer = pWindow->size() + frame;
    pWindow->move(std::clamp(pWindow->x(), available.left(), std::max(available.left(), available.right() + 1 - outer.width())),
                  std::clamp(pWindow->y(), available.top(), std::max(available.top(), available.bottom() + 1 - outer.height())));
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
