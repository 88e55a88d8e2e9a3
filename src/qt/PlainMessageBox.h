#pragma once

#include <QMessageBox>

// A message box that shows its text as it is: a file or folder name in it ("<b>x.not",
// "<img src=y>") is never taken for rich text. Every message box of the window is one.
class PlainMessageBox : public QMessageBox
{
public:
    PlainMessageBox(Icon icon, const QString& title, const QString& text, StandardButtons buttons, QWidget* parent,
                    const QString& objectName);
};

// A tooltip that shows `text` as it is, where Qt would take it for rich text.
QString PlainToolTip(const QString& text);
