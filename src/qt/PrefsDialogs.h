#pragma once

#include <QDialog>

class CDeleteFolderPrefsDlg;
class CHistoryPrefsDlg;
class CNewNotePrefsDlg;
class QCheckBox;
class QSpinBox;

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

// "History Preferences": how many megabytes the earlier versions of every notebook may take.
class HistoryPrefsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit HistoryPrefsDialog(CHistoryPrefsDlg& dlg, QWidget* parent = nullptr);

    void accept() override;

private:
    CHistoryPrefsDlg& m_dlg;
    QSpinBox* m_pLimit;
};
