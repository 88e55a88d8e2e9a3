#pragma once

#include <QDialog>

class CAssignKeysDlg;
class QListWidget;
class QRadioButton;
class TextCodec;

// "Assign Keys to Folders": pairs an available folder with an available key, moving or
// copying, and takes pairs apart again. "Close" keeps the result, "Cancel" drops it.
class AssignKeysDialog : public QDialog
{
    Q_OBJECT

public:
    AssignKeysDialog(CAssignKeysDlg& dlg, TextCodec& codec, QWidget* parent = nullptr);

private:
    void ShowLists();

    CAssignKeysDlg& m_dlg;
    TextCodec& m_codec;
    QListWidget* m_pFolders;
    QListWidget* m_pKeys;
    QListWidget* m_pAssignments;
    QRadioButton* m_pMove;
    QRadioButton* m_pCopy;
};
