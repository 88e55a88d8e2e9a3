#pragma once

#include <QDialog>

class CHistoryDlg;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// "History": the notebook's kept versions, newest first; the folders of the one chosen and the
// notes of the folder chosen, read-only; "Restore Folder" (the default) puts that folder back
// beside what the notebook holds now, and "Close" leaves it as it is.
class HistoryDialog : public QDialog
{
    Q_OBJECT

public:
    explicit HistoryDialog(CHistoryDlg& dlg, QWidget* parent = nullptr);

private:
    void ShowVersion(int row);
    void ShowFolder(int row);
    // The chosen version's bytes as text.
    QString Decode(std::string_view bytes) const;

    CHistoryDlg& m_dlg;
    QListWidget* m_pVersions;
    QListWidget* m_pFolders;
    QPlainTextEdit* m_pNotes;
    QPushButton* m_pRestore;
};
