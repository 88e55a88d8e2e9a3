#pragma once

#include "platform/Translatable.h"

// "New Note Preferences": the three header parts, each 1 when its box is ticked.
class CNewNotePrefsDlg
{
public:
    static constexpr const char* kCaption = QB_TRANSLATE_NOOP("Dialog", "New Note Preferences");

    int m_bIncludeTime = 0;
    int m_bIncludeDate = 0;
    int m_bIncludeText = 0;
};

// "Delete Folder Preferences": whether Delete Folder asks first.
class CDeleteFolderPrefsDlg
{
public:
    static constexpr const char* kCaption = QB_TRANSLATE_NOOP("Dialog", "Delete Folder Preferences");

    int m_bPrompt = 0;
};

// "History Preferences": how many megabytes the earlier versions of every notebook may take.
class CHistoryPrefsDlg
{
public:
    static constexpr const char* kCaption = QB_TRANSLATE_NOOP("Dialog", "History Preferences");

    int m_nMegabytes = 0;
};
