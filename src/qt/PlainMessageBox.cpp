#include "qt/PlainMessageBox.h"

#include <QTextDocument>

PlainMessageBox::PlainMessageBox(Icon icon, const QString& title, const QString& text, StandardButtons buttons,
                                 QWidget* parent, const QString& objectName)
    : QMessageBox(icon, title, text, buttons, parent)
{
    setObjectName(objectName);
    setTextFormat(Qt::PlainText);
}

QString PlainToolTip(const QString& text)
{
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap) : text;
}
