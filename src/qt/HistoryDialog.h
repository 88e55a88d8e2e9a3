#pragma once

#include <QDialog>

class CHistoryDlg;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// "History": the notebook's kept versions, newest first, or those of the selected folder, or
// those that last held a deleted note or folder holding the words to find; the folders of the
// one chosen and the notes of the folder chosen, read-only. "Restore Folder" (the default),
// "Restore Note" (the note at the caret) and "Restore Notebook" put that back as an unsaved
// change, and "Close" leaves the notebook as it is.
class HistoryDialog : public QDialog
{
    Q_OBJECT

public:
    explicit HistoryDialog(CHistoryDlg& dlg, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ListVersions();
    void ShowVersion(int row);
    void ShowFolder(int row);
    void ShowNote();
    // The chosen version's bytes as text.
    QString Decode(std::string_view bytes) const;

    CHistoryDlg& m_dlg;
    QLineEdit* m_pFind;
    QCheckBox* m_pFolderOnly;
    QListWidget* m_pVersions;
    QListWidget* m_pFolders;
    QPlainTextEdit* m_pNotes;
    QPushButton* m_pRestore;
    QPushButton* m_pRestoreNote;
    QPushButton* m_pRestoreNotebook;
};
