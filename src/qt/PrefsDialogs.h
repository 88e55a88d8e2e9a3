#pragma once

#include <QDialog>

class CDeleteFolderPrefsDlg;
class CNewNotePrefsDlg;
class QCheckBox;

// "New Note Preferences": which parts a new note's header holds.
class NewNotePrefsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit NewNotePrefsDialog(CNewNotePrefsDlg& dlg, QWidget* parent = nullptr);

    void accept() override;

private:
    CNewNotePrefsDlg& m_dlg;
    QCheckBox* m_pDate;
    QCheckBox* m_pTime;
    QCheckBox* m_pText;
};

// "Delete Folder Preferences": whether Delete Folder asks first.
class DeleteFolderPrefsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DeleteFolderPrefsDialog(CDeleteFolderPrefsDlg& dlg, QWidget* parent = nullptr);

    void accept() override;

private:
    CDeleteFolderPrefsDlg& m_dlg;
    QCheckBox* m_pPrompt;
};
