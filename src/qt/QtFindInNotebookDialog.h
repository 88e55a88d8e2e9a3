#pragma once

#include <QDialog>
#include <QTimer>

#include <string>
#include <vector>

class CQuillboxDoc;
class Folder;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TextCodec;

// Find in Notebook: searches the names and notes of every folder as the user types and lists
// the hits (folder path, the note's header line, the line with the match in bold). Return or
// a double-click on a hit ends the dialog with that hit chosen.
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
    };

    QtFindInNotebookDialog(CQuillboxDoc& doc, const TextCodec& codec, QWidget* parent);

    // Searches again, as the notebook may have changed since the dialog last showed.
    void Search();
    // The hit chosen when the dialog was accepted.
    const Hit& GetChoice() const { return m_choice; }

protected:
    // Each time the dialog opens, typing replaces the last search.
    void showEvent(QShowEvent* event) override;

private:
    void Choose(QTreeWidgetItem* pItem);
    void ShowHit(const std::string& path, std::string_view header, std::string_view text,
                 const std::vector<std::pair<size_t, size_t>>& spans);

    CQuillboxDoc& m_doc;
    const TextCodec& m_codec;
    QLineEdit* m_pText;
    QCheckBox* m_pMatchCase;
    QCheckBox* m_pWholeWords;
    QTreeWidget* m_pResults;
    QLabel* m_pStatus;
    QPushButton* m_pGoTo;
    QTimer m_typing;
    std::vector<Hit> m_hits;
    Hit m_choice;
};
