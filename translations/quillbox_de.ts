<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AssignKeysDialog</name>
    <message>
        <source>Move Note</source>
        <translation>Notiz verschieben</translation>
    </message>
    <message>
        <source>Copy Note</source>
        <translation>Notiz kopieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Assign</source>
        <translation>Zuweisen</translation>
    </message>
    <message>
        <source>Unassign</source>
        <translation>Zuweisung aufheben</translation>
    </message>
    <message>
        <source>Available Folders</source>
        <translation>Verfügbare Ordner</translation>
    </message>
    <message>
        <source>Available Keys</source>
        <translation>Verfügbare Tasten</translation>
    </message>
    <message>
        <source>Assignments</source>
        <translation>Zuweisungen</translation>
    </message>
</context>
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Quillbox</source>
        <translation>Über Quillbox</translation>
    </message>
    <message>
        <source>Quillbox Version 1.0</source>
        <translation>Quillbox Version 1.0</translation>
    </message>
    <message>
        <source>Notes in folders, filed with a key.</source>
        <translation>Notizen in Ordnern, abgelegt mit einer Taste.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CChildFrame</name>
    <message>
        <source>Quillbox cannot keep this notebook&apos;s unsaved work for recovery, so it would be lost if Quillbox ended now. %1
Save the notebook to keep it.</source>
        <translation>Quillbox kann die ungesicherte Arbeit in diesem Notizbuch nicht für eine Wiederherstellung aufbewahren; sie ginge verloren, wenn Quillbox jetzt endete. %1
Speichern Sie das Notizbuch, um sie zu behalten.</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>Notes in %1</source>
        <translation>Notizen in %1</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notizen</translation>
    </message>
    <message>
        <source>The changes another program saved are merged with this window&apos;s; the notebook is not saved yet. These needed a choice. Where both changed the same lines of a note, both versions are kept, this window&apos;s first.</source>
        <translation>Die Änderungen, die ein anderes Programm gespeichert hat, sind mit denen dieses Fensters zusammengeführt; das Notizbuch ist noch nicht gespeichert. Folgendes brauchte eine Entscheidung. Wo beide dieselben Zeilen einer Notiz geändert haben, sind beide Fassungen erhalten, die dieses Fensters zuerst.</translation>
    </message>
    <message>
        <source>The conflict copies are merged into the notebook, which is not saved yet. These needed a choice. Where both changed the same lines of a note, both versions are kept, the notebook&apos;s first.</source>
        <translation>Die Konfliktkopien sind in das Notizbuch zusammengeführt, das noch nicht gespeichert ist. Folgendes brauchte eine Entscheidung. Wo beide dieselben Zeilen einer Notiz geändert haben, sind beide Fassungen erhalten, die des Notizbuchs zuerst.</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Quillbox</source>
        <translation>Quillbox</translation>
    </message>
    <message>
        <source>Select an object on which to get Help</source>
        <translation>Wählen Sie ein Objekt, zu dem Sie Hilfe möchten</translation>
    </message>
    <message>
        <source>Assigned Keys:</source>
        <translation>Zugewiesene Tasten:</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Symbolleiste</translation>
    </message>
    <message>
        <source>For Help, press F1</source>
        <translation>Drücken Sie F1, um Hilfe zu erhalten</translation>
    </message>
    <message>
        <source>Recent File</source>
        <translation>Zuletzt geöffnete Datei</translation>
    </message>
    <message>
        <source>Open this notebook</source>
        <translation>Dieses Notizbuch öffnen</translation>
    </message>
    <message>
        <source>Activate this window</source>
        <translation>Dieses Fenster aktivieren</translation>
    </message>
    <message>
        <source>%1 - %2</source>
        <translation>%1 - %2</translation>
    </message>
    <message>
        <source>Assigned Keys</source>
        <translation>Zugewiesene Tasten</translation>
    </message>
    <message>
        <source>%1 for %2</source>
        <translation>%1 für %2</translation>
    </message>
    <message>
        <source>No keys assigned</source>
        <translation>Keine Tasten zugewiesen</translation>
    </message>
    <message>
        <source>Assigned keys: %1</source>
        <translation>Zugewiesene Tasten: %1</translation>
    </message>
</context>
<context>
    <name>CRunTutorialDlg</name>
    <message>
        <source>Run Tutorial</source>
        <translation>Einführung starten</translation>
    </message>
    <message>
        <source>Skip Tutorial</source>
        <translation>Einführung überspringen</translation>
    </message>
    <message>
        <source>There is a short tutorial for first-time users of Quillbox.  Although Quillbox is quite easy to use, it is suggested that first-time users take a few minutes to go through the tutorial to learn some of the basics of Quillbox. </source>
        <translation>Für neue Benutzer von Quillbox gibt es eine kurze Einführung. Quillbox ist zwar recht einfach zu bedienen, doch wir empfehlen neuen Benutzern, sich ein paar Minuten Zeit für die Einführung zu nehmen und die Grundlagen von Quillbox kennenzulernen.</translation>
    </message>
    <message>
        <source>If you want to go through the tutorial at a later time, you may always do so by selecting &quot;Tutorial&quot; from the &quot;Help&quot; menu.</source>
        <translation>Sie können die Einführung jederzeit später starten: Wählen Sie dazu „Einführung“ im Menü „Hilfe“.</translation>
    </message>
    <message>
        <source>Show this prompt each time you run Quillbox.</source>
        <translation>Diese Frage bei jedem Start von Quillbox zeigen.</translation>
    </message>
</context>
<context>
    <name>ChooseFolderDialog</name>
    <message>
        <source>Move/Copy Note To:</source>
        <translation>Notiz verschieben/kopieren nach:</translation>
    </message>
    <message>
        <source>Move Note</source>
        <translation>Notiz verschieben</translation>
    </message>
    <message>
        <source>Copy Note</source>
        <translation>Notiz kopieren</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>Command</name>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>Create a new notebook</source>
        <translation>Ein neues Notizbuch anlegen</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Open an existing notebook</source>
        <translation>Ein vorhandenes Notizbuch öffnen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Close the active notebook</source>
        <translation>Das aktive Notizbuch schließen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>S&amp;peichern</translation>
    </message>
    <message>
        <source>Save the active notebook</source>
        <translation>Das aktive Notizbuch speichern</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Save the active notebook with a new name</source>
        <translation>Das aktive Notizbuch unter einem neuen Namen speichern</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Empty the Trash</source>
        <translation>Trash leeren</translation>
    </message>
    <message>
        <source>Delete all of the notes in the Trash folder</source>
        <translation>Alle Notizen im Ordner Trash löschen</translation>
    </message>
    <message>
        <source>Empty Trash</source>
        <translation>Trash leeren</translation>
    </message>
    <message>
        <source>&amp;Print Folder</source>
        <translation>Ordner &amp;drucken</translation>
    </message>
    <message>
        <source>Print the active folder</source>
        <translation>Den aktiven Ordner drucken</translation>
    </message>
    <message>
        <source>Print Folder</source>
        <translation>Ordner drucken</translation>
    </message>
    <message>
        <source>P&amp;rint Setup...</source>
        <translation>&amp;Druckereinrichtung...</translation>
    </message>
    <message>
        <source>Change the printer and printing options</source>
        <translation>Drucker und Druckoptionen ändern</translation>
    </message>
    <message>
        <source>Print Setup</source>
        <translation>Druckereinrichtung</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save notebooks</source>
        <translation>Das Programm beenden; fragt, ob Notizbücher gespeichert werden sollen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Undo the last action</source>
        <translation>Die letzte Aktion rückgängig machen</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>Cut the selection and put it on the Clipboard</source>
        <translation>Die Auswahl ausschneiden und in die Zwischenablage legen</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy the selection and put it on the Clipboard</source>
        <translation>Die Auswahl kopieren und in die Zwischenablage legen</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Insert Clipboard contents</source>
        <translation>Den Inhalt der Zwischenablage einfügen</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Suchen...</translation>
    </message>
    <message>
        <source>Find the specified text</source>
        <translation>Den angegebenen Text suchen</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Find in &amp;Notebook...</source>
        <translation>Im &amp;Notizbuch suchen...</translation>
    </message>
    <message>
        <source>Find text in the names and notes of every folder</source>
        <translation>Text in den Namen und Notizen aller Ordner suchen</translation>
    </message>
    <message>
        <source>Find in Notebook</source>
        <translation>Im Notizbuch suchen</translation>
    </message>
    <message>
        <source>&amp;New Note</source>
        <translation>&amp;Neue Notiz</translation>
    </message>
    <message>
        <source>Start a new note in the current folder</source>
        <translation>Eine neue Notiz im aktuellen Ordner beginnen</translation>
    </message>
    <message>
        <source>New Note</source>
        <translation>Neue Notiz</translation>
    </message>
    <message>
        <source>&amp;Delete Note...</source>
        <translation>Notiz &amp;löschen...</translation>
    </message>
    <message>
        <source>Delete the note at the cursor</source>
        <translation>Die Notiz an der Schreibmarke löschen</translation>
    </message>
    <message>
        <source>Delete Note</source>
        <translation>Notiz löschen</translation>
    </message>
    <message>
        <source>&amp;Move/Copy Note...</source>
        <translation>Notiz &amp;verschieben/kopieren...</translation>
    </message>
    <message>
        <source>Move/Copy the note at the cursor to a folder</source>
        <translation>Die Notiz an der Schreibmarke in einen Ordner verschieben oder kopieren</translation>
    </message>
    <message>
        <source>Move/Copy Note</source>
        <translation>Notiz verschieben/kopieren</translation>
    </message>
    <message>
        <source>&amp;New Folder...</source>
        <translation>&amp;Neuer Ordner...</translation>
    </message>
    <message>
        <source>Create a new folder off of the currently selected folder</source>
        <translation>Einen neuen Ordner unter dem ausgewählten Ordner anlegen</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Neuer Ordner</translation>
    </message>
    <message>
        <source>&amp;Delete Folder</source>
        <translation>Ordner &amp;löschen</translation>
    </message>
    <message>
        <source>Delete the currently selected folder</source>
        <translation>Den ausgewählten Ordner löschen</translation>
    </message>
    <message>
        <source>Delete Folder</source>
        <translation>Ordner löschen</translation>
    </message>
    <message>
        <source>R&amp;ename Folder...</source>
        <translation>Ordner &amp;umbenennen...</translation>
    </message>
    <message>
        <source>Rename the currently selected folder</source>
        <translation>Den ausgewählten Ordner umbenennen</translation>
    </message>
    <message>
        <source>Rename Folder</source>
        <translation>Ordner umbenennen</translation>
    </message>
    <message>
        <source>&amp;Export Folder...</source>
        <translation>Ordner &amp;exportieren...</translation>
    </message>
    <message>
        <source>Export the currently selected folder to a file</source>
        <translation>Den ausgewählten Ordner in eine Datei exportieren</translation>
    </message>
    <message>
        <source>Export Folder</source>
        <translation>Ordner exportieren</translation>
    </message>
    <message>
        <source>&amp;Import Folder...</source>
        <translation>Ordner &amp;importieren...</translation>
    </message>
    <message>
        <source>Import a folder from a file</source>
        <translation>Einen Ordner aus einer Datei importieren</translation>
    </message>
    <message>
        <source>Import Folder</source>
        <translation>Ordner importieren</translation>
    </message>
    <message>
        <source>C&amp;ut Folder</source>
        <translation>Ordner aus&amp;schneiden</translation>
    </message>
    <message>
        <source>Cut the folder and put it on the Clipboard</source>
        <translation>Den Ordner ausschneiden und in die Zwischenablage legen</translation>
    </message>
    <message>
        <source>Cut Folder</source>
        <translation>Ordner ausschneiden</translation>
    </message>
    <message>
        <source>C&amp;opy Folder</source>
        <translation>Ordner &amp;kopieren</translation>
    </message>
    <message>
        <source>Copy the folder and put it on the Clipboard</source>
        <translation>Den Ordner kopieren und in die Zwischenablage legen</translation>
    </message>
    <message>
        <source>Copy Folder</source>
        <translation>Ordner kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste Folder</source>
        <translation>Ordner ein&amp;fügen</translation>
    </message>
    <message>
        <source>Insert the folder from the clipboard as a child of the current folder</source>
        <translation>Den Ordner aus der Zwischenablage als Unterordner des aktuellen Ordners einfügen</translation>
    </message>
    <message>
        <source>Paste Folder</source>
        <translation>Ordner einfügen</translation>
    </message>
    <message>
        <source>Preferences related to sending notes to folders</source>
        <translation>Einstellungen zum Ablegen von Notizen in Ordnern</translation>
    </message>
    <message>
        <source>Send Note Preferences</source>
        <translation>Einstellungen zum Ablegen</translation>
    </message>
    <message>
        <source>&amp;Note Header...</source>
        <translation>Notiz&amp;kopf...</translation>
    </message>
    <message>
        <source>Preferences related to creating new notes</source>
        <translation>Einstellungen für neue Notizen</translation>
    </message>
    <message>
        <source>New Note Preferences</source>
        <translation>Einstellungen für neue Notizen</translation>
    </message>
    <message>
        <source>&amp;DeleteFolder...</source>
        <translation>Ordner &amp;löschen...</translation>
    </message>
    <message>
        <source>Preferences related to deleting a folder</source>
        <translation>Einstellungen zum Löschen von Ordnern</translation>
    </message>
    <message>
        <source>Delete Folder Preferences</source>
        <translation>Einstellungen zum Löschen von Ordnern</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Symbolleiste</translation>
    </message>
    <message>
        <source>Show or hide the toolbar</source>
        <translation>Die Symbolleiste zeigen oder verbergen</translation>
    </message>
    <message>
        <source>Toggle ToolBar</source>
        <translation>Symbolleiste ein/aus</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>S&amp;tatusleiste</translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation>Die Statusleiste zeigen oder verbergen</translation>
    </message>
    <message>
        <source>Toggle StatusBar</source>
        <translation>Statusleiste ein/aus</translation>
    </message>
    <message>
        <source>&amp;Assigned Keys Bar</source>
        <translation>&amp;Leiste der zugewiesenen Tasten</translation>
    </message>
    <message>
        <source>Show or hide the assigned keys bar</source>
        <translation>Die Leiste der zugewiesenen Tasten zeigen oder verbergen</translation>
    </message>
    <message>
        <source>Toggle Assigned Keys Bar</source>
        <translation>Leiste der zugewiesenen Tasten ein/aus</translation>
    </message>
    <message>
        <source>Toggle &amp;View</source>
        <translation>&amp;Ansicht wechseln</translation>
    </message>
    <message>
        <source>Switch between the notes and the folders</source>
        <translation>Zwischen den Notizen und den Ordnern wechseln</translation>
    </message>
    <message>
        <source>Toggle View</source>
        <translation>Ansicht wechseln</translation>
    </message>
    <message>
        <source>&amp;Cascade</source>
        <translation>Ü&amp;berlappend</translation>
    </message>
    <message>
        <source>Arrange windows so they overlap</source>
        <translation>Die Fenster überlappend anordnen</translation>
    </message>
    <message>
        <source>Cascade Windows</source>
        <translation>Fenster überlappend</translation>
    </message>
    <message>
        <source>&amp;Tile</source>
        <translation>&amp;Nebeneinander</translation>
    </message>
    <message>
        <source>Arrange windows as non-overlapping tiles</source>
        <translation>Die Fenster nebeneinander anordnen, ohne dass sie sich überlappen</translation>
    </message>
    <message>
        <source>Tile Windows</source>
        <translation>Fenster nebeneinander</translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation>&amp;Hilfethemen</translation>
    </message>
    <message>
        <source>List Help topics</source>
        <translation>Die Hilfethemen auflisten</translation>
    </message>
    <message>
        <source>Help Topics</source>
        <translation>Hilfethemen</translation>
    </message>
    <message>
        <source>&amp;Tutorial</source>
        <translation>&amp;Einführung</translation>
    </message>
    <message>
        <source>Run the Quillbox tutorial</source>
        <translation>Die Einführung in Quillbox starten</translation>
    </message>
    <message>
        <source>Tutorial</source>
        <translation>Einführung</translation>
    </message>
    <message>
        <source>&amp;About Quillbox...</source>
        <translation>Ü&amp;ber Quillbox...</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright</source>
        <translation>Programminformationen, Versionsnummer und Copyright anzeigen</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Display help for clicked on buttons, menus and windows</source>
        <translation>Hilfe zu angeklickten Schaltflächen, Menüs und Fenstern anzeigen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Display help for current task or command</source>
        <translation>Hilfe zur aktuellen Aufgabe oder zum aktuellen Befehl anzeigen</translation>
    </message>
    <message>
        <source>&amp;History...</source>
        <translation>&amp;Verlauf...</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>Show the kept versions of the notebook and put back a note, a folder or the whole of one</source>
        <translation>Die aufbewahrten Fassungen des Notizbuchs zeigen und eine Notiz, einen Ordner oder eine ganze Fassung zurückholen</translation>
    </message>
    <message>
        <source>&amp;Merge Choices...</source>
        <translation>&amp;Entscheidungen beim Zusammenführen...</translation>
    </message>
    <message>
        <source>List again what the last merge into this window needed a choice on</source>
        <translation>Noch einmal auflisten, worüber beim letzten Zusammenführen in diesem Fenster zu entscheiden war</translation>
    </message>
    <message>
        <source>Merge Choices</source>
        <translation>Entscheidungen beim Zusammenführen</translation>
    </message>
    <message>
        <source>&amp;History Size...</source>
        <translation>&amp;Größe des Verlaufs...</translation>
    </message>
    <message>
        <source>Preferences related to the earlier versions kept of every notebook</source>
        <translation>Einstellungen zu den früheren Fassungen, die von jedem Notizbuch aufbewahrt werden</translation>
    </message>
    <message>
        <source>History Preferences</source>
        <translation>Einstellungen zum Verlauf</translation>
    </message>
</context>
<context>
    <name>DeleteFolderPrefsDialog</name>
    <message>
        <source>Prompt before deleting</source>
        <translation>Vor dem Löschen fragen</translation>
    </message>
    <message>
        <source>Prompting</source>
        <translation>Nachfragen</translation>
    </message>
</context>
<context>
    <name>Dialog</name>
    <message>
        <source>Assign Keys to Folders</source>
        <translation>Tasten den Ordnern zuweisen</translation>
    </message>
    <message>
        <source>Choose Folder</source>
        <translation>Ordner wählen</translation>
    </message>
    <message>
        <source>Input Dialog</source>
        <translation>Eingabe</translation>
    </message>
    <message>
        <source>New Note Preferences</source>
        <translation>Einstellungen für neue Notizen</translation>
    </message>
    <message>
        <source>Delete Folder Preferences</source>
        <translation>Einstellungen zum Löschen von Ordnern</translation>
    </message>
    <message>
        <source>Folder Name</source>
        <translation>Ordnername</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>History Preferences</source>
        <translation>Einstellungen zum Verlauf</translation>
    </message>
</context>
<context>
    <name>DialogParts</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>FileChooser</name>
    <message>
        <source>Folder Files (*.fol)|*.fol|All Files (*.*)|*.*||</source>
        <translation>Ordnerdateien (*.fol)|*.fol|Alle Dateien (*.*)|*.*||</translation>
    </message>
    <message>
        <source>PDF Files (*.pdf)|*.pdf||</source>
        <translation>PDF-Dateien (*.pdf)|*.pdf||</translation>
    </message>
    <message>
        <source>Quillbox Files (*.not)|*.not|All Files (*.*)|*.*||</source>
        <translation>Quillbox-Dateien (*.not)|*.not|Alle Dateien (*.*)|*.*||</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Quillbox Help</source>
        <translation>Quillbox-Hilfe</translation>
    </message>
    <message>
        <source>Navigation</source>
        <translation>Navigation</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Vor</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Startseite</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>The help page %1 is missing from this installation.</source>
        <translation>Die Hilfeseite %1 fehlt in dieser Installation.</translation>
    </message>
    <message>
        <source>Help page</source>
        <translation>Hilfeseite</translation>
    </message>
</context>
<context>
    <name>HistoryDialog</name>
    <message>
        <source>&amp;Restore Folder</source>
        <translation>Ordner &amp;zurückholen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>&amp;Versions:</source>
        <translation>&amp;Fassungen:</translation>
    </message>
    <message>
        <source>&amp;Folders then:</source>
        <translation>&amp;Ordner damals:</translation>
    </message>
    <message>
        <source>&amp;Notes then:</source>
        <translation>&amp;Notizen damals:</translation>
    </message>
    <message>
        <source>%1, %2 on %3: %4</source>
        <translation>%1, %2 auf %3: %4</translation>
    </message>
    <message>
        <source>Changes to the &amp;selected folder only</source>
        <translation>Nur Änderungen am a&amp;usgewählten Ordner</translation>
    </message>
    <message>
        <source>Restore No&amp;te</source>
        <translation>No&amp;tiz zurückholen</translation>
    </message>
    <message>
        <source>Restore Note&amp;book</source>
        <translation>Notiz&amp;buch zurückholen</translation>
    </message>
    <message>
        <source>Find &amp;deleted:</source>
        <translation>&amp;Gelöschtes suchen:</translation>
    </message>
</context>
<context>
    <name>HistoryPrefsDialog</name>
    <message>
        <source> MB</source>
        <translation> MB</translation>
    </message>
    <message>
        <source>&amp;Keep at most:</source>
        <translation>&amp;Höchstens aufbewahren:</translation>
    </message>
    <message>
        <source>For every notebook. The oldest versions go first; each notebook&apos;s newest stays.</source>
        <translation>Für jedes Notizbuch. Die ältesten Fassungen fallen zuerst weg; die neueste jedes Notizbuchs bleibt.</translation>
    </message>
    <message>
        <source>Earlier versions</source>
        <translation>Frühere Fassungen</translation>
    </message>
</context>
<context>
    <name>HistoryWords</name>
    <message>
        <source>read</source>
        <translation>gelesen</translation>
    </message>
    <message>
        <source>saved</source>
        <translation>gespeichert</translation>
    </message>
    <message>
        <source>merged</source>
        <translation>zusammengeführt</translation>
    </message>
    <message>
        <source>notes: %1 added, %2 removed</source>
        <translation>Notizen: %1 hinzugefügt, %2 entfernt</translation>
    </message>
    <message>
        <source>folder added: %1</source>
        <translation>Ordner hinzugefügt: %1</translation>
    </message>
    <message>
        <source>folder removed: %1</source>
        <translation>Ordner entfernt: %1</translation>
    </message>
    <message>
        <source>folder changed: %1</source>
        <translation>Ordner geändert: %1</translation>
    </message>
    <message>
        <source>the oldest version kept: %1 folders</source>
        <translation>die älteste aufbewahrte Fassung: %1 Ordner</translation>
    </message>
</context>
<context>
    <name>LockIndicators</name>
    <message>
        <source>CAP</source>
        <translation>GROSS</translation>
    </message>
    <message>
        <source>NUM</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>SCRL</source>
        <translation>ROLL</translation>
    </message>
    <message>
        <source>Caps Lock on</source>
        <translation>Feststelltaste an</translation>
    </message>
    <message>
        <source>Caps Lock off</source>
        <translation>Feststelltaste aus</translation>
    </message>
    <message>
        <source>Num Lock on</source>
        <translation>Num-Taste an</translation>
    </message>
    <message>
        <source>Num Lock off</source>
        <translation>Num-Taste aus</translation>
    </message>
    <message>
        <source>Scroll Lock on</source>
        <translation>Rollen-Taste an</translation>
    </message>
    <message>
        <source>Scroll Lock off</source>
        <translation>Rollen-Taste aus</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Note</source>
        <translation>&amp;Notiz</translation>
    </message>
    <message>
        <source>F&amp;older</source>
        <translation>&amp;Ordner</translation>
    </message>
    <message>
        <source>&amp;Preferences</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Fenster</translation>
    </message>
</context>
<context>
    <name>MergeWords</name>
    <message>
        <source>both changed the note: kept both versions, %1&apos;s first</source>
        <translation>beide haben die Notiz geändert: beide Fassungen behalten, zuerst die, die %1 hat</translation>
    </message>
    <message>
        <source>%1 deleted the note, %2 changed it: kept %2&apos;s version</source>
        <translation>%1 hat die Notiz gelöscht, %2 hat sie geändert: die Fassung behalten, die %2 hat</translation>
    </message>
    <message>
        <source>%1 deleted the folder, %2 changed it: kept</source>
        <translation>%1 hat den Ordner gelöscht, %2 hat ihn geändert: behalten</translation>
    </message>
    <message>
        <source>both renamed the folder: kept %1&apos;s name; %2 named it &quot;%3&quot;</source>
        <translation>beide haben den Ordner umbenannt: den Namen behalten, den %1 ihm gab; %2 nannte ihn „%3“</translation>
    </message>
    <message>
        <source>both moved the folder: kept where %1 put it; %2 put it in &quot;%3&quot;</source>
        <translation>beide haben den Ordner verschoben: dort behalten, wo %1 ihn hingelegt hat; %2 hat ihn nach „%3“ gelegt</translation>
    </message>
    <message>
        <source>%1 gave the key %3 to this folder and %2 to another: the key stays with %2&apos;s</source>
        <translation>%1 gab die Taste %3 diesem Ordner und %2 einem anderen: die Taste bleibt bei dem Ordner, dem %2 sie gab</translation>
    </message>
    <message>
        <source>both changed the folder&apos;s key: kept %1&apos;s; %2 gave it none</source>
        <translation>beide haben die Taste des Ordners geändert: die behalten, die %1 ihm gab; %2 gab ihm keine</translation>
    </message>
    <message>
        <source>both changed the folder&apos;s key: kept %1&apos;s; %2 gave it %3</source>
        <translation>beide haben die Taste des Ordners geändert: die behalten, die %1 ihm gab; %2 gab ihm %3</translation>
    </message>
    <message>
        <source>both changed the preference %1: kept %2&apos;s</source>
        <translation>beide haben die Einstellung %1 geändert: den Wert behalten, den %2 ihr gab</translation>
    </message>
    <message>
        <source>this window</source>
        <translation>dieses Fenster</translation>
    </message>
    <message>
        <source>the file on disk</source>
        <translation>die Datei auf der Platte</translation>
    </message>
    <message>
        <source>the notebook</source>
        <translation>das Notizbuch</translation>
    </message>
    <message>
        <source>the conflict copy</source>
        <translation>die Konfliktkopie</translation>
    </message>
    <message>
        <source>no version both %1 and %2 went on from is kept: every note of either is kept, so what one deleted or changed may be there twice</source>
        <translation>keine Fassung ist aufbewahrt, von der %1 und %2 beide ausgingen: jede Notiz beider bleibt erhalten, was eine Seite gelöscht oder geändert hat, kann also doppelt dastehen</translation>
    </message>
</context>
<context>
    <name>MessageWords</name>
    <message>
        <source>You must enter a folder name.</source>
        <translation>Sie müssen einen Ordnernamen eingeben.</translation>
    </message>
    <message>
        <source>A folder name is one line: its line breaks were replaced by spaces.</source>
        <translation>Ein Ordnername ist eine Zeile: Seine Zeilenumbrüche wurden durch Leerzeichen ersetzt.</translation>
    </message>
    <message>
        <source>You cannot import a folder as a child of the &quot;Trash&quot;
folder.  Please select a different folder.</source>
        <translation>Ein Ordner kann nicht als Unterordner von „Trash“
importiert werden. Bitte wählen Sie einen anderen Ordner.</translation>
    </message>
    <message>
        <source>Printing is not available.</source>
        <translation>Drucken ist nicht verfügbar.</translation>
    </message>
    <message>
        <source>The command could not be completed: %1.</source>
        <translation>Der Befehl konnte nicht abgeschlossen werden: %1.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is open in another Quillbox as well, under another name.

Whichever saves last overwrites what the other saved.</source>
        <translation>„%1“ ist auch in einem anderen Quillbox geöffnet, unter einem anderen Namen.

Wer zuletzt speichert, überschreibt, was der andere gespeichert hat.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is open in another Quillbox as well (%2).

Whichever saves last overwrites what the other saved.</source>
        <translation>„%1“ ist auch in einem anderen Quillbox geöffnet (%2).

Wer zuletzt speichert, überschreibt, was der andere gespeichert hat.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; may be open in Quillbox on another machine that shares its folder%2: whether it still is cannot be checked from here.

If it is, whichever saves last overwrites what the other saved.</source>
        <translation>„%1“ ist vielleicht in Quillbox auf einem anderen Rechner geöffnet, der seinen Ordner teilt%2: Ob es das noch ist, lässt sich von hier aus nicht prüfen.

Wenn ja, überschreibt, wer zuletzt speichert, was der andere gespeichert hat.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was deleted or moved by another program. Save writes the notebook there again.</source>
        <translation>„%1“ wurde von einem anderen Programm gelöscht oder verschoben. Beim Speichern wird das Notizbuch dort neu geschrieben.</translation>
    </message>
    <message>
        <source>Are you sure you want to delete the folder %1 and all of its children?</source>
        <translation>Möchten Sie den Ordner %1 mit allen Unterordnern wirklich löschen?</translation>
    </message>
    <message>
        <source>No printer is available. Print the folder to a PDF file instead?</source>
        <translation>Es ist kein Drucker verfügbar. Den Ordner stattdessen in eine PDF-Datei drucken?</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is read-only.
Save over it anyway?</source>
        <translation>„%1“ ist schreibgeschützt.
Trotzdem darüber speichern?</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was changed by another program. Read it again?</source>
        <translation>„%1“ wurde von einem anderen Programm geändert. Neu einlesen?</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was deleted or moved by another program since Quillbox opened or saved it.

Save the notebook there again, save it under another name, or cancel?</source>
        <translation>„%1“ wurde von einem anderen Programm gelöscht oder verschoben, seit Quillbox die Datei geöffnet oder gespeichert hat.

Das Notizbuch dort neu speichern, unter einem anderen Namen speichern oder abbrechen?</translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation>Änderungen an %1 speichern?</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>The folder is full: its text holds at most %1 characters, and what went beyond was left out.</source>
        <translation>Der Ordner ist voll: Sein Text fasst höchstens %1 Zeichen, und was darüber hinausging, wurde weggelassen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was changed by another program, and this notebook has unsaved changes.

Save will offer to merge the other program&apos;s changes with yours, or to overwrite them.</source>
        <translation>„%1“ wurde von einem anderen Programm geändert, und dieses Notizbuch hat ungesicherte Änderungen.

Beim Speichern wird angeboten, die Änderungen des anderen Programms mit Ihren zusammenzuführen oder sie zu überschreiben.</translation>
    </message>
    <message>
        <source>A file-sync tool left copies of this notebook beside it, made when it was changed in two places:

%1

Merge them into the notebook, note by note? The merged notebook is shown unsaved.</source>
        <translation>Ein Programm zum Abgleichen von Dateien hat neben diesem Notizbuch Kopien hinterlassen, entstanden, als es an zwei Orten geändert wurde:

%1

Sollen sie Notiz für Notiz in das Notizbuch zusammengeführt werden? Das zusammengeführte Notizbuch wird ungesichert gezeigt.</translation>
    </message>
    <message>
        <source>The copies are merged into the notebook:

%1

Move them to the trash? (No keeps them beside the notebook.)</source>
        <translation>Die Kopien sind in das Notizbuch zusammengeführt:

%1

Sollen sie in den Papierkorb verschoben werden? (Nein behält sie neben dem Notizbuch.)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was changed by another program since Quillbox opened or saved it.

Merge its changes with this window&apos;s, note by note (the merged notebook is shown unsaved), overwrite them, save the notebook under another name, or cancel?</source>
        <translation>„%1“ wurde von einem anderen Programm geändert, seit Quillbox die Datei geöffnet oder gespeichert hat.

Die Änderungen des anderen Programms Notiz für Notiz mit denen dieses Fensters zusammenführen (das zusammengeführte Notizbuch wird ungesichert gezeigt), sie überschreiben, das Notizbuch unter einem anderen Namen speichern oder abbrechen?</translation>
    </message>
    <message>
        <source>on %1, process %2, user %3</source>
        <translation>auf %1, Prozess %2, Benutzer %3</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be moved to the trash; it is kept where it is.</source>
        <translation>„%1“ konnte nicht in den Papierkorb verschoben werden; die Datei bleibt, wo sie ist.</translation>
    </message>
    <message>
        <source>No version of &quot;%1&quot; is kept yet: one is kept at every save.</source>
        <translation>Von „%1“ ist noch keine Fassung aufbewahrt: bei jedem Speichern wird eine aufbewahrt.</translation>
    </message>
</context>
<context>
    <name>NewNotePrefsDialog</name>
    <message>
        <source>Include Date</source>
        <translation>Datum einfügen</translation>
    </message>
    <message>
        <source>Include Time</source>
        <translation>Uhrzeit einfügen</translation>
    </message>
    <message>
        <source>Include Text (&quot;New Note&quot;)</source>
        <translation>Text einfügen („New Note“)</translation>
    </message>
    <message>
        <source>Date/Time</source>
        <translation>Datum/Uhrzeit</translation>
    </message>
</context>
<context>
    <name>ProblemWords</name>
    <message>
        <source>it is larger than %1, the most Quillbox reads</source>
        <translation>sie ist größer als %1, und mehr liest Quillbox nicht</translation>
    </message>
    <message>
        <source>%1, before &quot;%2&quot;</source>
        <translation>%1, vor „%2“</translation>
    </message>
    <message>
        <source>there is not enough memory</source>
        <translation>es ist nicht genug Speicher frei</translation>
    </message>
    <message>
        <source>it is a folder, not a file</source>
        <translation>das ist ein Verzeichnis, keine Datei</translation>
    </message>
    <message>
        <source>it is a FIFO (named pipe), not a file</source>
        <translation>das ist ein FIFO (benannte Pipe), keine Datei</translation>
    </message>
    <message>
        <source>it is a socket, not a file</source>
        <translation>das ist ein Socket, keine Datei</translation>
    </message>
    <message>
        <source>it is a device, not a file</source>
        <translation>das ist ein Gerät, keine Datei</translation>
    </message>
    <message>
        <source>it is not a file</source>
        <translation>das ist keine Datei</translation>
    </message>
    <message>
        <source>it is read-only</source>
        <translation>sie ist schreibgeschützt</translation>
    </message>
    <message>
        <source>another program is saving it at this moment</source>
        <translation>ein anderes Programm speichert sie gerade</translation>
    </message>
    <message>
        <source>cannot remove the old temporary file %1: %2</source>
        <translation>die alte temporäre Datei %1 kann nicht entfernt werden: %2</translation>
    </message>
    <message>
        <source>its temporary file %1 keeps changing</source>
        <translation>ihre temporäre Datei %1 ändert sich ständig</translation>
    </message>
    <message>
        <source>cannot read its extended attributes: %1</source>
        <translation>ihre erweiterten Attribute können nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>cannot keep its extended attribute %1: %2</source>
        <translation>ihr erweitertes Attribut %1 kann nicht erhalten werden: %2</translation>
    </message>
    <message>
        <source>the file was written, but its folder could not be flushed to disk: %1</source>
        <translation>die Datei wurde geschrieben, aber ihr Verzeichnis konnte nicht auf die Platte geschrieben werden: %1</translation>
    </message>
    <message>
        <source>it was replaced while being saved</source>
        <translation>sie wurde während des Speicherns ersetzt</translation>
    </message>
    <message>
        <source>another program changed it in the meantime, so nothing was written</source>
        <translation>ein anderes Programm hat sie inzwischen geändert, deshalb wurde nichts geschrieben</translation>
    </message>
    <message>
        <source>%1; the file may be damaged, and the complete data is kept in %2</source>
        <translation>%1; die Datei kann beschädigt sein, die vollständigen Daten liegen in %2</translation>
    </message>
    <message>
        <source>it is not a Quillbox notebook</source>
        <translation>sie ist kein Quillbox-Notizbuch</translation>
    </message>
    <message>
        <source>it has no &quot;Begin Folder Information&quot; line</source>
        <translation>ihr fehlt die Zeile „Begin Folder Information“</translation>
    </message>
    <message>
        <source>there is no folder to export</source>
        <translation>es gibt keinen Ordner zum Exportieren</translation>
    </message>
    <message>
        <source>%1 belongs to another user or others can write to it, so it is not private</source>
        <translation>%1 gehört einem anderen Benutzer oder ist für andere beschreibbar, also nicht privat</translation>
    </message>
    <message>
        <source>there is no home folder to keep it in (neither HOME nor XDG_STATE_HOME is set, and the system names none)</source>
        <translation>es gibt kein Home-Verzeichnis, um sie aufzubewahren (weder HOME noch XDG_STATE_HOME ist gesetzt, und das System nennt keines)</translation>
    </message>
    <message>
        <source>it ends early, at line %1</source>
        <translation>sie endet vorzeitig, in Zeile %1</translation>
    </message>
    <message>
        <source>it is damaged at line %1</source>
        <translation>sie ist in Zeile %1 beschädigt</translation>
    </message>
    <message>
        <source>it cannot be read after line %1: %2</source>
        <translation>sie kann nach Zeile %1 nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>it has no &quot;%1&quot; line</source>
        <translation>ihr fehlt die Zeile „%1“</translation>
    </message>
    <message>
        <source>it has no &quot;%1&quot; folder</source>
        <translation>ihr fehlt der Ordner „%1“</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a Quillbox notebook.</source>
        <translation>„%1“ ist kein Quillbox-Notizbuch.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a folder file: %2.</source>
        <translation>„%1“ ist keine Ordnerdatei: %2.</translation>
    </message>
    <message>
        <source>There is no folder to export.</source>
        <translation>Es gibt keinen Ordner zum Exportieren.</translation>
    </message>
    <message>
        <source>The notebook file &quot;%1&quot; was incomplete: %2. Quillbox opened what it could read as an untitled notebook; the file itself is left as it is.</source>
        <translation>Die Notizbuchdatei „%1“ war unvollständig: %2. Quillbox hat geöffnet, was es lesen konnte, als unbenanntes Notizbuch; die Datei selbst bleibt, wie sie ist.</translation>
    </message>
    <message>
        <source>The folder file &quot;%1&quot; holds no folder: %2. Nothing was imported.</source>
        <translation>Die Ordnerdatei „%1“ enthält keinen Ordner: %2. Nichts wurde importiert.</translation>
    </message>
    <message>
        <source>The folder file &quot;%1&quot; was incomplete: %2. The folders read before that point were imported.</source>
        <translation>Die Ordnerdatei „%1“ war unvollständig: %2. Die bis dahin gelesenen Ordner wurden importiert.</translation>
    </message>
    <message>
        <source>Cannot save &quot;%1&quot;: %2.</source>
        <translation>„%1“ kann nicht gespeichert werden: %2.</translation>
    </message>
    <message>
        <source>Cannot export the folder to &quot;%1&quot;: %2.</source>
        <translation>Der Ordner kann nicht nach „%1“ exportiert werden: %2.</translation>
    </message>
    <message>
        <source>Cannot import &quot;%1&quot;: %2.</source>
        <translation>„%1“ kann nicht importiert werden: %2.</translation>
    </message>
    <message>
        <source>Cannot keep unsaved work for recovery: %1.</source>
        <translation>Ungesicherte Arbeit kann nicht für eine Wiederherstellung aufbewahrt werden: %1.</translation>
    </message>
    <message>
        <source>Cannot write the recovery file in %1: %2.</source>
        <translation>Die Wiederherstellungsdatei in %1 kann nicht geschrieben werden: %2.</translation>
    </message>
    <message>
        <source>Cannot open &quot;%1&quot;: %2.</source>
        <translation>„%1“ kann nicht geöffnet werden: %2.</translation>
    </message>
    <message>
        <source>The conflict copy &quot;%1&quot; was incomplete: %2. What could be read of it was merged in keeping every note of either; the copy itself is left as it is.</source>
        <translation>Die Konfliktkopie „%1“ war unvollständig: %2. Was sich davon lesen ließ, wurde so zusammengeführt, dass jede Notiz beider erhalten bleibt; die Kopie selbst bleibt, wie sie ist.</translation>
    </message>
    <message>
        <source>Cannot merge the conflict copy &quot;%1&quot;: %2. It is left as it is.</source>
        <translation>Die Konfliktkopie „%1“ kann nicht zusammengeführt werden: %2. Sie bleibt, wie sie ist.</translation>
    </message>
    <message>
        <source>Cannot set the limit of the history in %1: %2.</source>
        <translation>Die Grenze des Verlaufs in %1 kann nicht gesetzt werden: %2.</translation>
    </message>
</context>
<context>
    <name>QGuiApplication</name>
    <message>
        <source>QT_LAYOUT_DIRECTION</source>
        <comment>Translate this string to the string &apos;LTR&apos; in left-to-right languages or to &apos;RTL&apos; in right-to-left languages (such as Hebrew and Arabic) to get proper widget layout.</comment>
        <translation>LTR</translation>
    </message>
</context>
<context>
    <name>QtEditControl</name>
    <message numerus="yes">
        <source>The pasted text held %n unpaired UTF-16 surrogates, which are no characters and cannot be stored; each was pasted as the replacement character U+FFFD.</source>
        <translation>
            <numerusform>Der eingefügte Text enthielt ein ungepaartes UTF-16-Surrogat; es ist kein Zeichen und kann nicht gespeichert werden, deshalb wurde stattdessen das Ersatzzeichen U+FFFD eingefügt.</numerusform>
            <numerusform>Der eingefügte Text enthielt %n ungepaarte UTF-16-Surrogate; sie sind keine Zeichen und können nicht gespeichert werden, deshalb wurde für jedes das Ersatzzeichen U+FFFD eingefügt.</numerusform>
        </translation>
    </message>
    <message>
        <source>Quillbox</source>
        <translation>Quillbox</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notizen</translation>
    </message>
</context>
<context>
    <name>QtFindDialog</name>
    <message>
        <source>Match &amp;whole word only</source>
        <translation>Nur ganzes Wo&amp;rt suchen</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>&amp;Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Fi&amp;nd what:</source>
        <translation>Suchen &amp;nach:</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Richtung</translation>
    </message>
    <message>
        <source>&amp;Find Next</source>
        <translation>&amp;Weitersuchen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cannot find &quot;%1&quot;.</source>
        <translation>„%1“ wurde nicht gefunden.</translation>
    </message>
</context>
<context>
    <name>QtFindInNotebookDialog</name>
    <message>
        <source>Match &amp;case</source>
        <translation>&amp;Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>&amp;Whole words</source>
        <translation>Ganze &amp;Wörter</translation>
    </message>
    <message>
        <source>Regular e&amp;xpression</source>
        <translation>Regulärer &amp;Ausdruck</translation>
    </message>
    <message>
        <source>Find in Notebook</source>
        <translation>Im Notizbuch suchen</translation>
    </message>
    <message>
        <source>Take the text as a POSIX extended regular expression, as grep -E does</source>
        <translation>Den Text als erweiterten regulären POSIX-Ausdruck lesen, wie grep -E es tut</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Fi&amp;nd what:</source>
        <translation>Suchen &amp;nach:</translation>
    </message>
    <message>
        <source>Cannot find &quot;%1&quot;.</source>
        <translation>„%1“ wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation>Suche läuft...</translation>
    </message>
    <message>
        <source>(folder name)</source>
        <translation>(Ordnername)</translation>
    </message>
    <message>
        <source>The folder of that match is gone; search again.</source>
        <translation>Der Ordner dieses Treffers ist nicht mehr da; bitte erneut suchen.</translation>
    </message>
    <message>
        <source>&amp;Go To</source>
        <translation>Gehe &amp;zu</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Stopp</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message numerus="yes">
        <source>Stopped after %n matches.</source>
        <translation>
            <numerusform>Nach %n Treffer angehalten.</numerusform>
            <numerusform>Nach %n Treffern angehalten.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Showing the first %n matches; a longer text finds fewer.</source>
        <translation>
            <numerusform>Der erste Treffer wird gezeigt; ein längerer Suchtext findet weniger.</numerusform>
            <numerusform>Die ersten %n Treffer werden gezeigt; ein längerer Suchtext findet weniger.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n matches.</source>
        <translation>
            <numerusform>%n Treffer.</numerusform>
            <numerusform>%n Treffer.</numerusform>
        </translation>
    </message>
    <message>
        <source>Lines found</source>
        <translation>Gefundene Zeilen</translation>
    </message>
    <message>
        <source>Search progress</source>
        <translation>Suchfortschritt</translation>
    </message>
</context>
<context>
    <name>QtMergeEventsDialog</name>
    <message>
        <source>&amp;Go To</source>
        <translation>&amp;Gehe zu</translation>
    </message>
    <message>
        <source>Merged Changes</source>
        <translation>Zusammengeführte Änderungen</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>What happened</source>
        <translation>Was geschah</translation>
    </message>
    <message>
        <source>Conflict: %1</source>
        <translation>Konflikt: %1</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>That folder is no longer in the notebook.</source>
        <translation>Dieser Ordner ist nicht mehr im Notizbuch.</translation>
    </message>
</context>
<context>
    <name>QtPrinter</name>
    <message>
        <source>Print Setup</source>
        <translation>Druckereinrichtung</translation>
    </message>
    <message>
        <source>No printer is available.</source>
        <translation>Es ist kein Drucker verfügbar.</translation>
    </message>
    <message>
        <source>The folder could not be printed on %1.</source>
        <translation>Der Ordner konnte nicht auf %1 gedruckt werden.</translation>
    </message>
</context>
<context>
    <name>QtPrompts</name>
    <message>
        <source>Quillbox</source>
        <translation>Quillbox</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>S&amp;peichern</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>Ü&amp;berschreiben</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Discard the untitled notebook&apos;s unsaved work, kept %1?</source>
        <translation>Die am %1 aufbewahrte ungesicherte Arbeit am unbenannten Notizbuch verwerfen?</translation>
    </message>
    <message>
        <source>Discard the unsaved work on &quot;%1&quot;, kept %2?</source>
        <translation>Die am %2 aufbewahrte ungesicherte Arbeit an „%1“ verwerfen?</translation>
    </message>
    <message>
        <source>It cannot be brought back.</source>
        <translation>Sie lässt sich nicht zurückholen.</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>A save of &quot;%1&quot; was cut off, so the file may be damaged or hold what was there before. A complete copy of the notebook as it was being saved is kept in &quot;%2&quot;.</source>
        <translation>Das Speichern von „%1“ wurde abgebrochen; die Datei kann beschädigt sein oder den früheren Stand enthalten. Eine vollständige Kopie des Notizbuchs, wie es gespeichert werden sollte, liegt in „%2“.</translation>
    </message>
    <message>
        <source>Open the copy as the notebook&apos;s unsaved changes, or the file as it is? The copy is kept until the notebook is next saved.</source>
        <translation>Die Kopie als ungesicherte Änderungen des Notizbuchs öffnen oder die Datei, wie sie ist? Die Kopie bleibt erhalten, bis das Notizbuch das nächste Mal gespeichert wird.</translation>
    </message>
    <message>
        <source>Open the &amp;Copy</source>
        <translation>Die &amp;Kopie öffnen</translation>
    </message>
    <message>
        <source>Open the &amp;File As It Is</source>
        <translation>Die &amp;Datei öffnen, wie sie ist</translation>
    </message>
    <message>
        <source>&amp;Merge</source>
        <translation>&amp;Zusammenführen</translation>
    </message>
</context>
<context>
    <name>QtTreeControl</name>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>%1, key %2</source>
        <translation>%1, Taste %2</translation>
    </message>
    <message>
        <source>%1 copies the note at the cursor into this folder</source>
        <translation>%1 kopiert die Notiz an der Schreibmarke in diesen Ordner</translation>
    </message>
    <message>
        <source>%1 moves the note at the cursor into this folder</source>
        <translation>%1 verschiebt die Notiz an der Schreibmarke in diesen Ordner</translation>
    </message>
</context>
<context>
    <name>RecoveryDialog</name>
    <message>
        <source>Quillbox</source>
        <translation>Quillbox</translation>
    </message>
    <message>
        <source>Quillbox ended before this work was saved. None of it is lost until you discard it.</source>
        <translation>Quillbox wurde beendet, bevor diese Arbeit gespeichert war. Nichts davon geht verloren, solange Sie es nicht verwerfen.</translation>
    </message>
    <message>
        <source>Notebook</source>
        <translation>Notizbuch</translation>
    </message>
    <message>
        <source>Unsaved work kept</source>
        <translation>Ungesicherte Arbeit aufbewahrt</translation>
    </message>
    <message>
        <source>the file is missing</source>
        <translation>die Datei fehlt</translation>
    </message>
    <message>
        <source>Recover opens the chosen work as unsaved changes. Decide Later opens the notebook as it was last saved and keeps all of the work until you choose.</source>
        <translation>„Wiederherstellen“ öffnet die gewählte Arbeit als ungesicherte Änderungen. „Später entscheiden“ öffnet das Notizbuch, wie es zuletzt gespeichert wurde, und bewahrt die ganze Arbeit auf, bis Sie sich entscheiden.</translation>
    </message>
    <message>
        <source>&amp;Recover</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Discard...</source>
        <translation>&amp;Verwerfen...</translation>
    </message>
    <message>
        <source>Decide &amp;Later</source>
        <translation>&amp;Später entscheiden</translation>
    </message>
    <message>
        <source>Untitled notebook</source>
        <translation>Unbenanntes Notizbuch</translation>
    </message>
    <message>
        <source>Work kept</source>
        <translation>Arbeit aufbewahrt</translation>
    </message>
    <message>
        <source>Last saved</source>
        <translation>Zuletzt gespeichert</translation>
    </message>
    <message>
        <source>never</source>
        <translation>nie</translation>
    </message>
</context>
<context>
    <name>SearchWords</name>
    <message>
        <source>Unmatched ( or \(</source>
        <translation>Nicht geschlossenes ( oder \(</translation>
    </message>
    <message>
        <source>Unmatched [, [^, [:, [., or [=</source>
        <translation>Nicht geschlossenes [, [^, [:, [. oder [=</translation>
    </message>
    <message>
        <source>Invalid range end</source>
        <translation>Ungültiges Bereichsende</translation>
    </message>
    <message>
        <source>Invalid character class name</source>
        <translation>Ungültiger Name einer Zeichenklasse</translation>
    </message>
    <message>
        <source>Invalid collation character</source>
        <translation>Ungültiges Sortierzeichen</translation>
    </message>
    <message>
        <source>Invalid content of \{\} (counts run up to 1000, the smaller first)</source>
        <translation>Ungültiger Inhalt von \{\} (Anzahlen gehen bis 1000, die kleinere zuerst)</translation>
    </message>
    <message>
        <source>Invalid preceding regular expression</source>
        <translation>Ungültiger vorangehender regulärer Ausdruck</translation>
    </message>
    <message>
        <source>Trailing backslash</source>
        <translation>Rückstrich am Ende</translation>
    </message>
    <message>
        <source>Invalid UTF-8</source>
        <translation>Ungültiges UTF-8</translation>
    </message>
    <message>
        <source>Regular expression too big</source>
        <translation>Regulärer Ausdruck ist zu groß</translation>
    </message>
    <message>
        <source>Invalid regular expression</source>
        <translation>Ungültiger regulärer Ausdruck</translation>
    </message>
    <message>
        <source>The pattern is empty.</source>
        <translation>Das Suchmuster ist leer.</translation>
    </message>
    <message>
        <source>The regular expression &quot;%1&quot; uses the back-reference %2, which the search does not take: it finds every match in one pass over the text.</source>
        <translation>Der reguläre Ausdruck „%1“ verwendet den Rückverweis %2, den die Suche nicht annimmt: Sie findet jeden Treffer in einem Durchgang durch den Text.</translation>
    </message>
    <message>
        <source>The regular expression &quot;%1&quot; uses %2, which the search does not take; search for whole words instead.</source>
        <translation>Der reguläre Ausdruck „%1“ verwendet %2, das die Suche nicht annimmt; suchen Sie stattdessen nach ganzen Wörtern.</translation>
    </message>
    <message>
        <source>The regular expression &quot;%1&quot; is malformed: %2.</source>
        <translation>Der reguläre Ausdruck „%1“ ist fehlerhaft: %2.</translation>
    </message>
</context>
<context>
    <name>SessionGuard</name>
    <message>
        <source>Quillbox</source>
        <translation>Quillbox</translation>
    </message>
    <message>
        <source>Quillbox was asked to end, but the unsaved work could not be kept for recovery, so Quillbox stays open and nothing is lost.

Save your notebooks, then quit.</source>
        <translation>Quillbox sollte beendet werden, doch die ungesicherte Arbeit konnte nicht für eine Wiederherstellung aufbewahrt werden. Deshalb bleibt Quillbox geöffnet, und nichts geht verloren.

Speichern Sie Ihre Notizbücher und beenden Sie Quillbox dann.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>without one, start it under a virtual display: xvfb-run -a quillbox [notebook...]</source>
        <translation>starten Sie es dann unter einem virtuellen Bildschirm: xvfb-run -a quillbox [Notizbuch...]</translation>
    </message>
    <message>
        <source>quillbox: %1
See quillbox --help.
</source>
        <translation>quillbox: %1
Siehe quillbox --help.
</translation>
    </message>
    <message>
        <source>quillbox: there is no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset); %1
</source>
        <translation>quillbox: Es gibt keinen Bildschirm, auf dem sich das Fenster öffnen ließe (DISPLAY und WAYLAND_DISPLAY sind nicht gesetzt); %1
</translation>
    </message>
</context>
</TS>
