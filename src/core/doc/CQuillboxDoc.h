#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Folder.h"
#include "model/FolderTree.h"
#include "model/NotebookSnapshot.h"
#include "format/FileResults.h"
#include "format/NotebookReader.h"
#include "storage/TextEncoding.h"
#include "storage/FileAccess.h"
#include "doc/Services.h"

class EditorView;
class LineReader;
class TreeView;

// What happened to the notebook as a whole, told to those that follow it (the keeper of its
// unsaved work) as it happens.
enum class DocEvent
{
    Read,     // made new, or read from its file
    Changed,  // a change the user made, or that a command made for the user
    Replaced, // it became other work as a whole, unsaved (recovered, merged, a save's copy)
    Saved,    // written to its file
    Closed,   // the window lets go of it
};

class DocListener
{
public:
    virtual void OnDocEvent(DocEvent event) = 0;

protected:
    ~DocListener() = default;
};

// One open notebook: its folder tree, preferences, key assignments, selected folder and folder
// clipboard, and the two views that show it.
class CQuillboxDoc
{
public:
    explicit CQuillboxDoc(const Services& services);
    ~CQuillboxDoc();
    CQuillboxDoc(const CQuillboxDoc&) = delete;
    CQuillboxDoc& operator=(const CQuillboxDoc&) = delete;

    // Document life (CQuillboxDoc.cpp; opening and saving in NotebookFile.cpp)
    void BindViews(EditorView* pEditView, TreeView* pTreeView);
    EditorView* GetEditView() const { return m_pEditView; }
    TreeView* GetTreeView() const { return m_pTreeView; }
    bool OnNewDocument();
    ReadReport OnOpenDocument(const std::string& pathName);
    // Saves the notebook; `unchanged`, when given, says just before the file is replaced
    // whether it is still as the caller last knew it (see ReplaceCheck).
    SaveResult OnSaveDocument(const std::string& pathName, bool bReplaceReadOnly = false, const ReplaceCheck& unchanged = {});
    // The notebook as a save would write it now; the document is left as it is.
    NotebookSnapshot TakeSnapshot() const;
    void OnCloseDocument();
    // Before the notebook closes: asks what becomes of unsaved changes and saves them through
    // `save` when the user wants; false when the notebook must stay open (cancelled, or the
    // save failed).
    bool SaveModified(const std::function<bool()>& save);
    bool IsModified() const { return m_bModified; }
    // Marking the notebook modified tells its listeners of a change.
    void SetModifiedFlag(bool bModified = true);
    // Opens the notebook at `source` (kept work, a save's copy) as unsaved changes to the notebook
    // at `notebookPath`; one that reads only in part stays untitled, as any damaged file does.
    ReadReport OpenUnsaved(const std::string& source, const std::string& notebookPath);
    // Opens a notebook made in memory (a merge's result) as unsaved changes to the notebook at
    // `notebookPath`.
    ReadReport OpenSnapshot(const NotebookSnapshot& snapshot, const std::string& notebookPath);
    // The same, in place of every folder the notebook holds now (a version restored).
    ReadReport ReplaceBySnapshot(const NotebookSnapshot& snapshot, const std::string& notebookPath);
    // Listeners are told of every DocEvent from then on, until they are taken off.
    void AddListener(DocListener* pListener);
    void RemoveListener(DocListener* pListener);
    const std::string& GetPathName() const { return m_strPathName; }
    // Whether opening and saving hash the file's bytes on the way, for a window that watches the
    // file for other programs' changes; GetFileHash then gives the hash of the bytes last read or
    // written whole, and nothing otherwise.
    void SetHashFile(bool bHash) { m_bHashFile = bHash; }
    std::optional<uint64_t> GetFileHash() const { return m_fileHash; }
    void SetPathName(const std::string& pathName) { m_strPathName = pathName; }
    const Services& GetServices() const { return m_services; }

    // Encoding of the notebook's names and texts (CQuillboxDoc.cpp)
    const TextEncoding& GetEncoding() const { return m_encoding; }
    // Reads the same bytes the other way: the tree shows its names anew.
    void SetEncodingKind(TextEncoding::Kind kind);
    // Converts every name and text (the editor's, the folder clipboard's) from Windows-1252 to
    // UTF-8, keeping every character. Does nothing for a UTF-8 notebook.
    void ConvertToUtf8();
    // Text the user typed or pasted: a Windows-1252 notebook turns to UTF-8 when the text holds
    // a character the code page lacks, so nothing typed is lost.
    void OnTextTyped(std::u16string_view text);
    // Bytes from elsewhere in encoding `kind` (another notebook's, or another program's text
    // as UTF-8) in this notebook's encoding, as Import Folder takes a folder file's: a
    // Windows-1252 notebook turns to UTF-8 first when they hold a character it lacks.
    std::string TakeText(std::string_view bytes, TextEncoding::Kind kind);
    // Called after the encoding changed; with bConverted the bytes changed, else their reading.
    void SetEncodingListener(std::function<void(bool bConverted)> listener) { m_onEncodingChanged = std::move(listener); }

    // Folder tree (CQuillboxDoc.cpp, over the FolderTree)
    // The folders and their links, to read (FolderPath.h finds folders in it).
    const FolderTree& GetFolderTree() const { return m_tree; }
    Folder* GetRootFolder() const { return m_tree.GetRoot(); }
    const std::vector<Folder*>& GetFolders() const { return m_tree.GetFolders(); }
    Folder* GetSelFolder() const { return m_pSelFolder; }
    // A folder's notes as they stand: the editor's text for the selected folder, else its
    // stored text.
    SharedText GetFolderText(const Folder* pFolder) const;
    // The folder a tree item shows, or null.
    Folder* GetFolderOfItem(TreeItem hItem) const;
    char GetSeparator() const { return m_chSeparator; }
    const std::vector<std::string>& GetKeyNames() const { return m_keyNames; }
    void AddFolder(bool bTopLevel, const std::string& name, const std::string& text, bool bSorted,
                   const std::string& key, const std::string& keyFunction);
    // Gives the folders from GetFolders()[firstNew] on their tree items at once, leaving the tree,
    // the texts and the keys as AddFolder one by one would after a final selection change; the
    // selection itself does not move.
    void ShowNewFolders(size_t firstNew);
    Folder* FindFolderByItem(TreeItem hItem, Folder* pStart) const;
    Folder* SelectFolderByItem(TreeItem hItem);
    // Frees a folder with its subtree and, as the records run, its following siblings with
    // theirs; the selection goes when it was among them.
    void DeleteFolderTree(Folder* pFolder);
    // Frees the clipboard's folders and leaves it empty.
    void DeleteClipFolders();
    void UpdateKeySummary();
    // The first folder of GetFolders() with this exact name, or null.
    Folder* FindFolderByName(const std::string& name) const;

    // Command routing (CQuillboxDoc.cpp): true when the document handles the command (and it ran).
    bool OnCommand(int id);
    // Runs a command chosen in a view's context menu as the menus would run it.
    void RunCommand(int id);
    static bool HasCommand(int id);

    // Folder commands (FolderCommands.cpp): each asks what it needs through the prompts, then does its work through
    // an operation that asks nothing, which quillbox-cli calls too.
    // A new folder under pParent, made, selected and given a first note's header as New Folder
    // makes it; null when pParent takes no new folders.
    Folder* NewFolder(Folder* pParent, const std::string& name);
    void OnNewFolder();
    void OnRenameFolder();
    void OnDeleteFolder();
    void DeleteSelectedFolder();
    void OnEmptyTrash();
    // Folder files (FolderFiles.cpp)
    void OnExportFolder();
    void OnImportFolder();
    SaveResult ExportFolder(const std::string& pathName);
    // Hands the folder file Export Folder writes (the selected folder with its subtree) to the
    // sink a piece at a time; false when the sink refused.
    bool WriteFolderFileText(const ChunkSink& sink);
    ReadReport ImportFolder(const std::string& pathName);
    // As Import Folder, from a folder file's bytes; `source` names them in problems.
    ReadReport ImportFolderText(std::string_view bytes, const std::string& source);
    // Puts back a folder that stood at `path` (FolderPath's form), from a folder file of it
    // with its subtree: under the folder its path names as parent, or the nearest one above
    // that is still there and takes new folders, else Main; beside whatever is there now.
    ReadReport RestoreFolder(std::string_view folderFile, const std::string& path, const std::string& source);
    // Puts back a note (in encoding `kind`) at the end of the folder at `path`, which is then
    // selected with the caret at the note; where that folder is gone, restores `folderFile` (the
    // folder holding the note alone) as RestoreFolder does.
    ReadReport RestoreNote(std::string_view note, TextEncoding::Kind kind, std::string_view folderFile, const std::string& path,
                           const std::string& source);
    // Folder clipboard (FolderClipboard.cpp)
    void OnCutFolder();
    void OnCopyFolder();
    void OnPasteFolder();
    void CopyFolderTree(Folder* pSource, Folder* pDest);
    void PasteFolderTree(Folder* pFolder);
    // The folder last cut or copied, or null.
    const Folder* GetClipFolder() const { return m_pClipFolder; }
    // Preferences and keys (PrefCommands.cpp)
    void OnNoteHeaderPrefs();
    void OnDeleteFolderPrefs();
    // What a new note's header holds: the words "New Note", the date, the time. The setters are
    // what the preference dialogs commit through; they leave the modified flag as it is.
    int HeaderHasText() const { return m_bText; }
    int HeaderHasDate() const { return m_bDate; }
    int HeaderHasTime() const { return m_bTime; }
    // The header line of a new note as the preferences and the clock make it now.
    std::string NoteHeaderLine() const;
    void SetNoteHeaderPrefs(int bText, int bDate, int bTime);
    // Whether deleting a folder asks first.
    int GetPromptDelete() const { return m_bPromptDelete; }
    void SetDeleteFolderPrefs(int bPrompt) { m_bPromptDelete = bPrompt; }
    void OnAssignKeys();

private:
    void Tell(DocEvent event) const;
    // The file commands proper; the public ones run them guarded (RunGuarded), so running out
    // of memory is a failure reported like any other.
    ReadReport OpenNotebook(const std::string& pathName);
    // Opened work as unsaved changes to the notebook at `notebookPath`, told as a replacement.
    ReadReport MakeUnsaved(const ReadReport& report, const std::string& notebookPath);
    // The document's header values, for a file that lacks some of them to leave as they are.
    NotebookContents HeaderValues() const;
    // Shows folders read (NotebookReader.h) with their header values, selecting the one they name.
    void Load(NotebookContents& contents);
    // Links records after the folders there are: those of NotebookContents::kOuter last under
    // the selected folder (at the top level when none is), each after the siblings before it.
    void LinkRecords(std::vector<NotebookContents::Record>& records);
    SaveResult SaveNotebook(const std::string& pathName, bool bReplaceReadOnly, const ReplaceCheck& unchanged);
    ReadReport ReadFolderFile(const std::string& pathName);
    ReadReport ReadFolderLines(LineReader& in, const std::string& pathName);
    SaveResult WriteFolderFile(const std::string& pathName);
    // What turns the names and texts of a source in encoding `kind`, all of whose bytes are
    // `bytes`, into the notebook's encoding; empty when nothing needs turning. May convert the
    // notebook to UTF-8 first.
    std::function<std::string(std::string_view)> ConverterFrom(TextEncoding::Kind kind, std::string_view bytes);

    // The records of pFolder's subtree and its following siblings, the editor's text taken for
    // the selected folder's.
    std::vector<NotebookSnapshot::Record> CollectRecords(Folder* pFolder, bool bWithKeys) const;

    // The character a note header line repeats six times on each side.
    char m_chSeparator = '-';
    // The folders and their links; the document changes them through it alone.
    FolderTree m_tree;
    // The keys a folder can be given, in the order the Assign Keys dialog offers them.
    std::vector<std::string> m_keyNames;
    // The folder shown in the editor, or null.
    Folder* m_pSelFolder = nullptr;
    Folder* m_pClipFolder = nullptr;
    int m_bPromptDelete = 1;
    int m_bTime = 0;
    int m_bText = 1;
    int m_bDate = 1;

    EditorView* m_pEditView = nullptr;
    TreeView* m_pTreeView = nullptr;
    Services m_services;
    TextEncoding m_encoding;
    std::function<void(bool)> m_onEncodingChanged;
    bool m_bModified = false;
    std::vector<DocListener*> m_listeners;
    std::string m_strPathName;
    bool m_bHashFile = false;
    std::optional<uint64_t> m_fileHash;
};
