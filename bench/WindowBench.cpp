// Drives the real main window on the offscreen platform with key events and measures what a
// user waits for: a notebook opened until it is painted and answers input, the memory it takes,
// switching into a big folder, F3 on one of its notes, and cutting, copying, pasting and deleting
// a big subtree.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QTreeWidget>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/CChildFrame.h"
#include "format/NotebookWriter.h"
#include "app/CMainFrame.h"
#include "doc/CQuillboxDoc.h"
#include "platform/SettingsStore.h"

namespace {

const char* const kUsage = R"(Usage: quillbox-window-bench open FILE [PNG]
       quillbox-window-bench keys FILE REPEATS
       quillbox-window-bench subtree FILE [REPEATS]

open  Opens FILE in a new main window and prints "seconds=S cpu=S rss=B": the time from the
      command to the window painted and idle (wall clock and processor), and the resident
      memory it added to the
      window holding an empty notebook. PNG receives a picture of the window then.
keys  Opens FILE, made by "make-notebook bigfolder", and prints "switch_ms=M f3_ms=M" (and
      each as processor time, "switch_cpu_ms=M f3_cpu_ms=M"): the
      medians over REPEATS of an Up arrow in the tree from "Small" into "Big" and of F3 on a
      note of "Big", each until the window is painted and idle.
longline FILE REPEATS
      Opens FILE, made by "make-notebook longline" or "longwords", and prints "first_ms=M
      switch_ms=M leave_ms=M page_ms=M type_ms=M" (and each as processor time, "first_cpu_ms=M"
      ...): an
      Up arrow in the tree from "Small" into "Big" the first time, the medians over REPEATS of
      it again and of the Down arrow back to "Small", and the medians of Page Down and of
      typing a letter in the editor in "Big", each until the window is painted and idle.
subtree FILE [REPEATS]
      Opens FILE, made by "make-notebook balanced 100000" or larger, and prints
      "copy_ms=M paste_ms=M delete_ms=M cut_ms=M" (and "copy_cpu_ms=M" ...): the medians over
      REPEATS (1 unless given) of the folder keys on "Folder 000001" and its subtree of 11,111
      folders, each until the window is painted and idle.
recovery FILE REPEATS
      Opens FILE, types a letter, and prints "snapshot_ms=M bytes_ms=M": the medians over
      REPEATS of what a recovery write costs the window (taking the notebook's snapshot) and of
      making the file's bytes from it, which the writer thread does.
)";

// Runs the event loop until it has nothing left to do: every posted event, zero timer and
// repaint handled, twice over for what the first round posted.
void WaitIdle()
{
    for (int round = 0; round < 2; ++round) {
        bool bFired = false;
        QTimer::singleShot(0, [&bFired] { bFired = true; });
        while (!bFired) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
    }
}

long ResidentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong() * 1024;
    }
    return 0;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double CpuMs()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// What one action cost until the window was idle again, in milliseconds: the wall clock, and
// the processor time, which other programs on the machine disturb less.
struct Cost
{
    double wall = 0;
    double cpu = 0;
};

template <typename Action>
Cost Timed(Action&& action)
{
    const double cpuBefore = CpuMs();
    QElapsedTimer timer;
    timer.start();
    action();
    WaitIdle();
    return { static_cast<double>(timer.nsecsElapsed()) / 1e6, CpuMs() - cpuBefore };
}

// The medians of the wall and processor times of the costs.
Cost Median(const std::vector<Cost>& costs)
{
    std::vector<double> walls;
    std::vector<double> cpus;
    for (const Cost& cost : costs) {
        walls.push_back(cost.wall);
        cpus.push_back(cost.cpu);
    }
    return { Median(walls), Median(cpus) };
}

struct Window
{
    Window()
        : frame(settings)
    {
        frame.resize(1024, 768);
        frame.show();
        frame.activateWindow();
        if (!QTest::qWaitForWindowActive(&frame))
            std::fputs("quillbox-window-bench: the window did not become active\n", stderr);
        WaitIdle();
    }

    CChildFrame* Open(const QString& path)
    {
        CChildFrame* pChild = frame.OpenNotebook(path);
        if (!pChild) {
            std::fprintf(stderr, "quillbox-window-bench: cannot open %s\n", qPrintable(path));
            std::exit(1);
        }
        return pChild;
    }
    QTreeWidget* Tree() const { return frame.ActiveChild()->findChild<QTreeWidget*>(QStringLiteral("folderTree")); }
    QPlainTextEdit* Editor() const
    {
        return frame.ActiveChild()->findChild<QPlainTextEdit*>(QStringLiteral("noteEditor"));
    }

    MemorySettings settings;
    CMainFrame frame;
};

int Open(const QString& path, const QString& picture)
{
    Window window;
    window.frame.NewNotebook();
    WaitIdle();
    const long before = ResidentBytes();
    const Cost cost = Timed([&] { window.Open(path); });
    std::printf("seconds=%.3f cpu=%.3f rss=%ld\n", cost.wall / 1000, cost.cpu / 1000, ResidentBytes() - before);
    if (!picture.isEmpty() && !window.frame.grab().save(picture))
        return 1;
    return 0;
}

// Opens a notebook of two folders, "Big" and "Small", with the keyboard on "Small" in the
// tree; null when it has no "Small".
QTreeWidget* OpenInSmall(Window& window, const QString& path)
{
    window.Open(path);
    WaitIdle();
    QTreeWidget* pTree = window.Tree();
    const QList<QTreeWidgetItem*> small = pTree->findItems(QStringLiteral("Small"), Qt::MatchExactly | Qt::MatchRecursive);
    if (small.size() != 1) {
        std::fprintf(stderr, "quillbox-window-bench: %s has no folder \"Small\"\n", qPrintable(path));
        return nullptr;
    }
    pTree->setCurrentItem(small.first());
    pTree->setFocus();
    WaitIdle();
    return pTree;
}

int Keys(const QString& path, int repeats)
{
    Window window;
    QTreeWidget* pTree = OpenInSmall(window, path);
    if (!pTree)
        return 1;

    std::vector<Cost> switches;
    for (int i = 0; i < repeats; ++i) {
        switches.push_back(Timed([&] { QTest::keyClick(pTree, Qt::Key_Up); }));
        QTest::keyClick(pTree, Qt::Key_Down);
        WaitIdle();
    }
    // Into "Big" once more, and over to the editor with the caret on a note's second line.
    QTest::keyClick(pTree, Qt::Key_Up);
    QTest::keyClick(pTree, Qt::Key_F6);
    WaitIdle();
    QPlainTextEdit* pEditor = window.Editor();
    std::vector<Cost> deletes;
    for (int i = 0; i < repeats; ++i) {
        QTextCursor cursor = pEditor->textCursor();
        cursor.movePosition(QTextCursor::Start);
        cursor.movePosition(QTextCursor::Down);
        pEditor->setTextCursor(cursor);
        deletes.push_back(Timed([&] { QTest::keyClick(pEditor, Qt::Key_F3); }));
    }
    const Cost switching = Median(switches);
    const Cost deleting = Median(deletes);
    std::printf("switch_ms=%.1f switch_cpu_ms=%.1f f3_ms=%.1f f3_cpu_ms=%.1f\n", switching.wall, switching.cpu,
                deleting.wall, deleting.cpu);
    return 0;
}

int LongLine(const QString& path, int repeats)
{
    Window window;
    QTreeWidget* pTree = OpenInSmall(window, path);
    if (!pTree)
        return 1;
    const Cost first = Timed([&] { QTest::keyClick(pTree, Qt::Key_Up); });
    std::vector<Cost> switches;
    std::vector<Cost> leaves;
    for (int i = 0; i < repeats; ++i) {
        leaves.push_back(Timed([&] { QTest::keyClick(pTree, Qt::Key_Down); }));
        WaitIdle();
        switches.push_back(Timed([&] { QTest::keyClick(pTree, Qt::Key_Up); }));
    }
    QTest::keyClick(pTree, Qt::Key_F6);
    WaitIdle();
    QPlainTextEdit* pEditor = window.Editor();
    std::vector<Cost> pages;
    std::vector<Cost> typed;
    for (int i = 0; i < repeats; ++i)
        pages.push_back(Timed([&] { QTest::keyClick(pEditor, Qt::Key_PageDown); }));
    for (int i = 0; i < repeats; ++i)
        typed.push_back(Timed([&] { QTest::keyClick(pEditor, Qt::Key_X); }));
    const Cost switching = Median(switches);
    const Cost leaving = Median(leaves);
    const Cost paging = Median(pages);
    const Cost typing = Median(typed);
    std::printf("first_ms=%.1f first_cpu_ms=%.1f switch_ms=%.1f switch_cpu_ms=%.1f leave_ms=%.1f leave_cpu_ms=%.1f "
                "page_ms=%.1f page_cpu_ms=%.1f type_ms=%.1f type_cpu_ms=%.1f\n",
                first.wall, first.cpu, switching.wall, switching.cpu, leaving.wall, leaving.cpu, paging.wall, paging.cpu, typing.wall, typing.cpu);
    return 0;
}

// The item of the first folder of that name in the tree, or null.
QTreeWidgetItem* FindFolder(QTreeWidget* pTree, const QString& name)
{
    const QList<QTreeWidgetItem*> found = pTree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

int Subtree(const QString& path, int repeats)
{
    Window window;
    window.Open(path);
    window.frame.ActiveChild()->GetDocument().SetDeleteFolderPrefs(0);
    WaitIdle();
    QTreeWidget* pTree = window.Tree();
    QTreeWidgetItem* pMain = FindFolder(pTree, QStringLiteral("Main"));
    if (!pMain || !FindFolder(pTree, QStringLiteral("Folder 000001"))) {
        std::fprintf(stderr, "quillbox-window-bench: %s has no \"Folder 000001\" under Main\n", qPrintable(path));
        return 1;
    }
    auto select = [&](QTreeWidgetItem* pItem) {
        pTree->setCurrentItem(pItem);
        pTree->setFocus();
        WaitIdle();
    };
    auto press = [&](Qt::Key key) { return Timed([&] { QTest::keyClick(pTree, key, Qt::ControlModifier); }); };
    // The Main's children of that name, in the tree's order.
    auto children = [&] {
        std::vector<QTreeWidgetItem*> found;
        for (int i = 0; i < pMain->childCount(); ++i) {
            if (pMain->child(i)->text(0) == QLatin1String("Folder 000001"))
                found.push_back(pMain->child(i));
        }
        return found;
    };
    std::vector<Cost> copies;
    std::vector<Cost> pastes;
    std::vector<Cost> deletes;
    std::vector<Cost> cuts;
    for (int i = 0; i < repeats; ++i) {
        QTreeWidgetItem* pFolder = children().front();
        select(pFolder);
        copies.push_back(press(Qt::Key_K));
        select(pMain);
        pastes.push_back(press(Qt::Key_L));
        const std::vector<QTreeWidgetItem*> both = children();
        if (both.size() != 2) {
            std::fputs("quillbox-window-bench: the pasted folder is missing\n", stderr);
            return 1;
        }
        select(both[0] == pFolder ? both[1] : both[0]);
        deletes.push_back(press(Qt::Key_D));
        select(pFolder);
        cuts.push_back(press(Qt::Key_J));
        // The cut subtree goes back for the next round.
        select(pMain);
        press(Qt::Key_L);
    }
    const Cost copy = Median(copies);
    const Cost paste = Median(pastes);
    const Cost remove = Median(deletes);
    const Cost cut = Median(cuts);
    std::printf("copy_ms=%.1f copy_cpu_ms=%.1f paste_ms=%.1f paste_cpu_ms=%.1f delete_ms=%.1f delete_cpu_ms=%.1f "
                "cut_ms=%.1f cut_cpu_ms=%.1f\n",
                copy.wall, copy.cpu, paste.wall, paste.cpu, remove.wall, remove.cpu, cut.wall, cut.cpu);
    return 0;
}

int Recovery(const QString& path, int repeats)
{
    Window window;
    window.Open(path);
    window.frame.ActiveChild()->ActivatePane(CChildFrame::Pane::Editor);
    QTest::keyClick(window.Editor(), Qt::Key_X);
    WaitIdle();
    const CQuillboxDoc& doc = window.frame.ActiveChild()->GetDocument();
    std::vector<double> snapshots;
    std::vector<double> bytes;
    size_t size = 0;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        const NotebookSnapshot snapshot = doc.TakeSnapshot();
        snapshots.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        std::string out;
        WriteNotebook(snapshot, [&out](std::string_view chunk) {
            out += chunk;
            return true;
        });
        bytes.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        size = out.size();
    }
    std::printf("snapshot_ms=%.2f bytes_ms=%.1f size=%zu\n", Median(snapshots), Median(bytes), size);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    int status = 2;
    if ((args.size() == 3 || args.size() == 4) && args[1] == QLatin1String("open"))
        status = Open(args[2], args.value(3));
    else if ((args.size() == 3 || args.size() == 4) && args[1] == QLatin1String("subtree"))
        status = Subtree(args[2], std::max(1, args.value(3, QStringLiteral("1")).toInt()));
    else if (args.size() == 4 && args[1] == QLatin1String("recovery"))
        status = Recovery(args[2], std::max(1, args[3].toInt()));
    else if (args.size() == 4 && args[1] == QLatin1String("longline"))
        status = LongLine(args[2], std::max(1, args[3].toInt()));
    else if (args.size() == 4 && args[1] == QLatin1String("keys"))
        status = Keys(args[2], std::max(1, args[3].toInt()));
    else
        std::fputs(kUsage, stderr);
    std::fflush(stdout);
    // Taking the window apart is not measured; leaving at once spares the run that time.
    std::_Exit(status);
}
