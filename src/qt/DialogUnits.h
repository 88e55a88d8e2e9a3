#pragma once

#include <QSize>

class QWidget;

// Sizes given in dialog units, the measure the dialog layouts are drawn in: a quarter of the
// font's average character width across and an eighth of its height down.
QSize DialogUnits(const QWidget* pWidget, int cx, int cy);

// Gives a push button at least the standard 50 by 14 dialog units.
void SizeButton(QWidget* pButton);
