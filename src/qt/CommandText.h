#pragma once

#include <QString>

// What a menu shows of the command `id` in the user's language: its text and, when bShortcut and
// it has one, its shortcut after a tab, with the keys named as Qt names them there
// ("&Speichern\tStrg+S").
QString CommandMenuText(int id, bool bShortcut);
