#pragma once

#include <QSize>

#include <utility>

class QDialog;
class QString;
class QPushButton;
class QLabel;
class QWidget;

// Sizes given in dialog units, the measure the dialog layouts are drawn in: a quarter of the
// font's average character width across and an eighth of its height down.
QSize DialogUnits(const QWidget* pWidget, int cx, int cy);

// A push button of at least the standard 50 by 14 dialog units.
QPushButton* NewButton(const QString& text, const char* objectName);

// A label naming `pBuddy`, by its text for screen readers too: Qt names no list or field by its
// label.
QLabel* NewBuddyLabel(const QString& text, const char* objectName, QWidget* pBuddy);

// Makes a window that is being shown fit the screen it opens on, smaller or scaled up since it
// was last shown: tall enough for its wrapped texts, no larger than the screen, its frame too,
// and wholly on it.
void KeepOnScreen(QWidget* pWindow);

// "OK" (the default button) and "Cancel", which end the dialog with accept() and reject().
std::pair<QPushButton*, QPushButton*> NewOkCancel(QDialog* pDialog);
