#pragma once

#include <QDialog>
#include <QFutureWatcher>
#include <QTimer>

#include <string>
#include <vector>

class CQuillboxDoc;
class Folder;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TextCodec;

// Find in Notebook: searches the names and notes of every folder as the user types and lists
// the hits (folder path, the note's header line, the line with the match in bold). Return or
// a double-click on a hit ends the dialog with that hit chosen.
//
// The search runs on another thread over a snapshot of the folders, so the window goes on
// answering: hits appear as they are found, a progress bar shows how far a long search got,
// and Stop, a new search or closing the dialog ends it.
class QtFindInNotebookDialog : public QDialog
{
    Q_OBJECT

public:
    // The list stops at this many hits, so a search for something on every line stays quick.
    static constexpr int kMaxListed = 1000;

    // A hit as GoToSearchHit takes it; line -1 for a folder's name.
    struct Hit
    {
        const Folder* pFolder = nullptr;
        int line = -1;
        size_t start = 0;
        size_t length = 0;
        std::string path; // the folder's path when it was searched
    };

    // A hit as the search thread hands it over, with what the list shows of it.
    struct Found
    {
        Hit hit;
        std::string header;
        std::string text;
        std::vector<std::pair<size_t, size_t>> spans;
    };

    QtFindInNotebookDialog(CQuillboxDoc& doc, const TextCodec& codec, QWidget* parent);
    ~QtFindInNotebookDialog() override;

    // Searches again, as the notebook may have changed since the dialog last showed.
    void Search();
    // The hit chosen when the dialog was accepted.
    const Hit& GetChoice() const { return m_choice; }

    // Ends the search that runs, if any, as the dialog closes.
    void done(int result) override;

protected:
    // Each time the dialog opens, typing replaces the last search.
    void showEvent(QShowEvent* event) override;

private:
    void Stop();
    void ShowFound(int begin, int end);
    void Finished();
    void Choose(QTreeWidgetItem* pItem);
    void ShowHit(const Found& found);

    CQuillboxDoc& m_doc;
    const TextCodec& m_codec;
    QLineEdit* m_pText;
    QCheckBox* m_pMatchCase;
    QCheckBox* m_pWholeWords;
    QCheckBox* m_pRegex;
    QTreeWidget* m_pResults;
    QLabel* m_pStatus;
    QProgressBar* m_pProgress;
    QPushButton* m_pGoTo;
    QPushButton* m_pStop;
    QTimer m_typing;
    QTimer m_slow; // a search still running when it fires shows its progress
    QFutureWatcher<Found>* m_pWatcher = nullptr; // of the search that runs or ran last
    bool m_bToResults = false;                   // Return asked for the hits before they came
    std::vector<Hit> m_hits;
    Hit m_choice;
};
