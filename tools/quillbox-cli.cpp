#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "CliWords.h"
#include "words/Translate.h"

namespace {

const char* const kIntro = CLI_TEXT_NOOP(R"(Usage: quillbox-cli COMMAND [OPTIONS] ARGUMENTS...

Reads and writes Quillbox notebook files (*.not) without opening a window, with the code and
the safe save of the program itself.

Commands:
)");

const char* const kHelpAndVersion = CLI_TEXT_NOOP(R"(  help [COMMAND], --help [COMMAND], -h [COMMAND]
      Show this text, or the part of it that describes COMMAND. Every command also takes
      --help and -h, and shows its part.
  --version, -v
      Print the version, as "quillbox -v" does. Before a command only: grep's -v
      selects the lines that do not match.
)");

const char* const kNotes = CLI_TEXT_NOOP(R"(
PATH names a folder by the names from the top level down, joined by "/", as in
"Main/Ideas". In a name, write "\/" for a slash and "\\" for a backslash: "Main/A\/B" is the
folder "A/B" in Main. Where sibling folders share a name, the one made first is meant.

Names, patterns and text on the command line are UTF-8. In a notebook kept in Windows-1252
they are taken in its encoding, tree and grep print UTF-8, and a note with a character
Windows-1252 lacks turns the notebook to UTF-8, as typing it in the window would. cat and
export keep the notebook's bytes.

On a terminal, text is shown in the character set of the locale (LC_CTYPE), with what could
drive the terminal made visible, so that a notebook from someone else cannot set its title,
clear it or write to the clipboard: ESC is shown as ^[, the other control characters
U+0000 to U+001F as ^@ to ^_ (but tab and line feed, and CR before a line feed, are
themselves), DEL as ^?, and the controls U+0080 to U+009F as \u0080 to \u009F. So are the
bidirectional controls U+202A to U+202E and U+2066 to U+2069, which would turn the rest of a
line around, and the separators U+2028 and U+2029. A character the locale's character set
lacks (in the C locale, any but ASCII) is shown as \u00E9 (\U0001F600 beyond U+FFFF), and a
byte that is not UTF-8 in UTF-8 text as \xE9. This holds for standard output and standard
error, for what every command prints. --raw, which every command takes, writes to a terminal
what a pipe or a file always gets: the bytes as they are (for cat and export the notebook's,
for tree and grep UTF-8). git shows a merge driver's standard error and a diff driver's
output to the user, so merge's standard error, and diff's output when it is given git's
seven arguments, are shown so wherever they go, even with --raw.

A FILE, FOLFILE or OUT of "-" is standard input or output. add and import with FILE "-"
read the notebook from standard input and write it to standard output.

Every command that writes saves as Quillbox does: into a temporary file beside the target,
renamed over it once it is complete. It takes the notebook's lock, as Quillbox windows and
other commands do: while a window has the notebook open it writes nothing and says so
(--force writes all the same), and while another command writes it, it waits up to ten
seconds. Should a program that takes no lock replace the notebook meanwhile, the change is
made again to what that program wrote. A notebook that ends early or is damaged is read as far
as possible, with a warning; commands that write refuse such a notebook and leave it alone
(check --repair saves what can be read of it).

Errors are written to standard error. Unless a command says otherwise, the exit status is 0
on success, 1 on failure and 2 for a command line that is not understood, help for an
unknown command included.
)");

struct Command
{
    const char* name;
    CommandOptions options;
    size_t minOperands;
    size_t maxOperands;
    int (*run)(const Args&);
    // The command's part of the usage text.
    const char* usage;
    int failed = kFailed;
};

const Command kCommands[] = {
    { "new", {}, 1, 1, New, CLI_TEXT_NOOP(R"(  new FILE
      Create a new notebook with the folders Main and Trash and save it as FILE. Nothing
      already named FILE is replaced, not even a symbolic link to nowhere.
)") },
    { "tree", { { "--paths", "-z", "--json" }, {} }, 1, 1, Tree, CLI_TEXT_NOOP(R"(  tree [--raw] [--paths] [-z] [--json] FILE
      Print the folders as the folder tree shows them: sorted by name, two spaces of
      indent per level. A folder with an assigned key shows the key and its function, as
      in "Trash  [F3 Move]"; the folder that was selected when the notebook was saved
      ends in "  *". --paths prints each folder's PATH instead, as the other commands take
      it ("Main/A\/B"), in the same order; -z ends each line with a NUL byte instead of a
      line feed, for programs that read the list. --json prints one JSON object a line
      instead, a folder each, with its path, name, depth, key and function, and whether it
      is selected, in the notebook's bytes (man quillbox-cli describes the fields).
)") },
    { "cat", {}, 2, 2, Cat, CLI_TEXT_NOOP(R"(  cat [--raw] FILE PATH
      Print the notes of one folder, byte for byte (on a terminal, see below).
)") },
    { "grep", { { "-i", "-w", "-x", "-E", "-v", "-n", "-o", "-c", "-l", "-q", "--json" }, { "--path", "-m", "-A", "-B", "-C" }, { "--color" } },
      2, SIZE_MAX, Grep, CLI_TEXT_NOOP(R"(  grep [-i] [-w] [-x] [-E] [-v] [-n] [-o] [-c | -l | -q] [-m NUM] [-A NUM] [-B NUM]
       [-C NUM] [--color[=WHEN]] [--json] [--raw] [--path PATH] FILE... PATTERN
      Search the names and notes of every folder, or of PATH and the folders below it,
      in the order of the folder tree, as Find in Notebook does. Each matching line is
      printed as the folder's path, the header line of the note holding it and the line,
      separated by tabs; a matching folder name is printed with an empty header and the
      name. Given several FILEs, grep searches each and begins each line with its FILE
      and a tab. -i ignores the case of letters, -w matches whole words only (words are
      the notebook's letters, digits and underscores), -x whole lines only, -E takes
      PATTERN as a POSIX extended regular expression (otherwise it is plain text), -v
      selects the names and lines that do not match, -n puts the line's number in the
      folder (from 1; 0 for a name) before the line, -o prints only the matches, each on
      a line of its own. -c prints only the number of selected lines (of each FILE, after
      it and a tab, given several), -l only the FILEs that hold one, -q nothing at all.
      -m NUM stops after NUM selected lines of each FILE. -A NUM, -B NUM and -C NUM print
      NUM lines after, before or around each selected line, of the note that holds it
      (from its header line to the next note's); the number of such a line ends in "-",
      and "--" stands between lines that do not follow on. --color marks matches, paths,
      headers and numbers in colour: WHEN is always, never or auto (the default: on a
      terminal, unless the environment's NO_COLOR is set or TERM is dumb). --json prints
      one JSON object a line instead, a selected line or one around it each, with the
      notebook's bytes exactly (man quillbox-cli describes the fields). Every search takes
      one pass over the text, so back-references and \<, \>, \b, \B are refused (-w
      matches whole words).
      Exit status: 0 when a line was selected, 1 when none was, 2 on an error, even
      where other FILEs held a selected line; with -q, 0 once a line is selected,
      whatever goes wrong after it.
)"), kTrouble },
    { "add", { { "--create", "--force" }, {} }, 2, 3, Add, CLI_TEXT_NOOP(R"(  add [--create] [--force] FILE PATH [TEXT]
      Add a note at the end of the folder's notes, with TEXT or standard input as its
      body, under a header made as Shift+Return makes it: by the notebook's Note Header
      preferences, with the current date and time. With --create, missing folders on the
      path are made as New Folder makes them; a new folder's first note takes the text.
)") },
    { "export", { {}, { "--format", "-o" } }, 1, 2, Export, CLI_TEXT_NOOP(R"(  export --format FORMAT [-o OUT] [--raw] FILE [PATH]
      Write the whole notebook, or PATH with the folders below it, to OUT (standard
      output when -o is not given), in the order of the folder tree. FORMAT is one of
        text      each folder's path, underlined, then its notes
        markdown  a heading per folder (deeper folders get deeper headings; below the
                  sixth level, a level-six heading names the folders from the one at
                  the sixth level down, as a PATH: "###### F/G/H") and each note,
                  header line first, in a fenced block
        html      one self-contained page with a table of contents
        fol       a folder file, byte for byte as Export Folder writes it (needs PATH)
      text, markdown and html have LF line breaks; notes keep the bytes they hold. The
      page's title is FILE's name; where the name is not UTF-8, each byte that is not
      shows as U+FFFD.
)") },
    { "import", { { "--force" }, {} }, 3, 3, Import, CLI_TEXT_NOOP(R"(  import [--force] FILE FOLFILE PATH
      Add the folder in folder file FOLFILE, with its subtree, under the folder PATH, as
      Import Folder does.
)") },
    { "check", { { "--force" }, { "--repair" } }, 1, 1, Check, CLI_TEXT_NOOP(R"(  check [--repair OUT] [--force] [--raw] FILE
      Read FILE strictly and print each departure from the notebook format as
      "FILE:LINE: what", or "FILE: no damage found". Besides each record's keywords and
      values, check follows the numbers of children, and finds a folder record standing
      inside another folder's text, where that text lost its "End Folder" line: Quillbox
      would read the record as notes and put the folders after it under other parents.
      With --repair, save the notebook to OUT, which must be another file; for OUT "-" the
      notebook goes to standard output and the report to standard error. Repair puts a
      lost "End Folder" line back, so every folder stays under its own parent; other damage
      is read as Quillbox reads it, which keeps what it can. The report ends by saying
      whether every damage was rebuilt, or at which lines it could not be.
      Exit status: 0 when FILE is sound, 1 when it is damaged, 2 on an error. With
      --repair: 0 when OUT holds all of FILE (FILE was sound, or every damage was rebuilt),
      1 when some damage could not be rebuilt, 2 on an error.
)"), kTrouble },
    { "resave", { { "--force" }, {} }, 2, 2, Resave, CLI_TEXT_NOOP(R"(  resave [--force] IN OUT
      Open notebook IN and save it as OUT, as opening and saving in Quillbox do. A
      read-only OUT is not replaced.
)") },
    { "merge", { { "--union", "--force" }, { "-o", "-L", "--notebook" } }, 2, 3, Merge, CLI_TEXT_NOOP(R"(  merge [-o OUT] [-L OURS-LABEL [-L THEIRS-LABEL]] [--notebook FILE] [--force] BASE OURS THEIRS
      Merge the changes OURS and THEIRS made to BASE, folder by folder and note by note,
      and write the result over OURS (to OUT with -o), as git's merge driver does with
      %O %A %B. Folders are matched by path, and found renamed or moved by their notes;
      a note changed on one side takes that change, a note both sides changed merges line
      by line, and where their lines conflict both versions are kept, one after the other,
      the second saying where it came from. Notes and folders added on either side are
      kept. What needed a choice is listed on standard error, one line each: the
      folder's path, the note's header and what happened, apart by tabs; a conflict's
      line says "conflict:". The labels name the sides there (default "ours" and
      "theirs"). Exit status: 0 when the merge is clean, 1 when conflicts were kept side
      by side, 2 on an error (nothing is written then). An empty BASE, as git gives
      when both branches added the notebook, stands for the newest version both went on
      from among those Quillbox kept of the notebook FILE (git's %P); without one, the
      two are merged as --union does, and that is a conflict (exit status 1).
  merge --union [-o OUT] [-L OURS-LABEL [-L THEIRS-LABEL]] [--force] OURS THEIRS
      Merge two copies with no common version, such as a file-sync tool's conflict copy:
      every folder and every note of either is kept, notes both hold once. Where the
      copies give a folder's key or a preference differently, OURS wins.
)"), kTrouble },
    { "diff", {}, 1, 7, Diff, CLI_TEXT_NOOP(R"(  diff OLD NEW
      List what changed from notebook OLD to NEW: folders added, removed, renamed and
      moved, and notes added, removed and changed, each with the folder's path and the
      note's header, a changed note's lines after it ("-" gone, "+" new). Exit status: 0
      when they hold the same, 1 when they differ, 2 on an error. Given git's seven
      arguments for a diff driver's command (PATH OLD-FILE OLD-HEX OLD-MODE NEW-FILE
      NEW-HEX NEW-MODE), it compares OLD-FILE with NEW-FILE and ends with 0; given
      PATH alone, for a path left unmerged, it says "* Unmerged path PATH" as git does.
)"), kTrouble },
    { "log", {}, 1, 2, Log, CLI_TEXT_NOOP(R"(  log FILE [PATH]
      List the versions of the notebook Quillbox kept, newest first: every save and
      every change another program or machine made that Quillbox read, in a private
      history beside the recovery folder ($XDG_STATE_HOME/quillbox/history). Each line
      is the version's number, when and on which machine it was kept, how (read, saved
      or merged) and what it changed against the version before it, apart by tabs. With
      PATH, only the versions that changed that folder or one below it.
)") },
    { "show", {}, 2, 3, Show, CLI_TEXT_NOOP(R"(  show [--raw] FILE VERSION [PATH]
      Print a kept version of the notebook, as its file would hold it, or the notes of
      its folder PATH, as cat does.
)") },
    { "restore", { { "--force" }, {} }, 2, 3, Restore, CLI_TEXT_NOOP(R"(  restore [--force] FILE VERSION [PATH]
      Save a kept version as the notebook; the notebook it replaces is kept as a version
      first. With PATH, put the folder PATH of that version back, with the folders below
      it, under its old parent (or the nearest folder above it that is still there),
      beside whatever is there now, which stays.
)") },
    { "history-limit", {}, 0, 1, HistoryLimit, CLI_TEXT_NOOP(R"(  history-limit [MEGABYTES]
      Print the most room the kept versions may take, in megabytes of 1,048,576 bytes
      (1024 unless set), or set it to MEGABYTES, from 1 to 1048576: for the window, whose
      Preferences > History Size... sets it too, and every command alike. Past it the oldest
      versions go, never a notebook's newest; a smaller limit takes them at once.
)") },
};

// Every command takes these as well as its own.
const std::vector<std::string> kCommonFlags = { "--raw", "--help", "-h" };

bool IsHelp(const std::string& word)
{
    return word == "help" || word == "--help" || word == "-h";
}

// As quillbox takes them; after a command's name, -v is that command's (grep's invert).
bool IsVersion(const std::string& word)
{
    return word == "--version" || word == "-v";
}

const Command* FindCommand(const std::string& name)
{
    for (const Command& command : kCommands) {
        if (name == command.name)
            return &command;
    }
    return nullptr;
}

void WriteUsage()
{
    Write(CliText(kIntro));
    for (const Command& command : kCommands)
        Write(CliText(command.usage));
    Write(CliText(kHelpAndVersion));
    Write(CliText(kNotes));
}

void WriteCommandUsage(const Command& command)
{
    Write(CliText("Usage: quillbox-cli "));
    Write(CliText(command.usage).substr(2));
    Write(CliText("\nquillbox-cli --help says more of folder paths, encodings, terminals, standard input and\n"
                  "output, safety and exit statuses.\n"));
}

std::string CommandNames()
{
    std::string names;
    for (const Command& command : kCommands)
        names += (names.empty() ? "" : ", ") + std::string(command.name);
    return names;
}

// help, --help or -h, with the command it asks about, if any.
int Help(const std::vector<std::string>& words)
{
    if (words.size() > 2) {
        Error(Fill(CliText("%1 takes one command, not %2; see quillbox-cli --help"), { words[0], std::to_string(words.size() - 1) }));
        return kUsage;
    }
    if (words.size() == 1 || IsHelp(words[1]) || IsVersion(words[1])) {
        WriteUsage();
        return kOk;
    }
    const Command* pCommand = FindCommand(words[1]);
    if (!pCommand) {
        Error(Fill(CliText("unknown command \"%1\"; the commands are %2."), { words[1], CommandNames() }));
        return kUsage;
    }
    WriteCommandUsage(*pCommand);
    return kOk;
}

// The status the program ends with when a command fails on its own account.
int g_failedStatus = kFailed;

int Run(const std::vector<std::string>& words)
{
    const std::string name = words.empty() ? std::string() : words[0];
    if (IsHelp(name))
        return Help(words);
    if (IsVersion(name)) {
        if (words.size() > 1) {
            Error(Fill(CliText("%1 takes no arguments; see quillbox-cli --help"), { name }));
            return kUsage;
        }
        Write("quillbox-cli " QUILLBOX_VERSION "\n");
        return kOk;
    }
    const Command* pCommand = FindCommand(name);
    if (!pCommand) {
        Error(name.empty() ? CliText("no command given; see quillbox-cli --help")
                           : Fill(CliText("unknown command \"%1\"; see quillbox-cli --help"), { name }));
        return kUsage;
    }
    const Command& command = *pCommand;
    g_failedStatus = command.failed;
    CommandOptions options = command.options;
    options.flags.insert(options.flags.end(), kCommonFlags.begin(), kCommonFlags.end());
    // Every command fails with 2 on a command line it does not understand.
    Args args;
    std::string error;
    if (!ParseArgs({ words.begin() + 1, words.end() }, options, args, error)) {
        Error(Fill(CliText("%1: %2; see quillbox-cli help %1"), { name, error }));
        return kUsage;
    }
    if (args.Has("--help") || args.Has("-h")) {
        WriteCommandUsage(command);
        return kOk;
    }
    if (args.operands.size() < command.minOperands || args.operands.size() > command.maxOperands) {
        const std::string given = std::to_string(args.operands.size());
        if (command.maxOperands == SIZE_MAX)
            Error(Fill(CliPlural("%1 takes %2 argument or more, not %3; see quillbox-cli help %1",
                                 "%1 takes %2 arguments or more, not %3; see quillbox-cli help %1", command.minOperands),
                       { name, std::to_string(command.minOperands), given }));
        else if (command.maxOperands > command.minOperands)
            Error(Fill(CliPlural("%1 takes %2 or %3 argument, not %4; see quillbox-cli help %1",
                                 "%1 takes %2 or %3 arguments, not %4; see quillbox-cli help %1", command.maxOperands),
                       { name, std::to_string(command.minOperands), std::to_string(command.maxOperands), given }));
        else
            Error(Fill(CliPlural("%1 takes %2 argument, not %3; see quillbox-cli help %1",
                                 "%1 takes %2 arguments, not %3; see quillbox-cli help %1", command.minOperands),
                       { name, std::to_string(command.minOperands), given }));
        return kUsage;
    }
    SetRawOutput(args.Has("--raw"));
    return command.run(args);
}

} // namespace

int main(int argc, char** argv)
{
    InitCliWords();
    int status = kFailed;
    try {
        status = Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const OutputFailed& failed) {
        Error(Fill(CliText("cannot write the output: %1"), { std::strerror(failed.error) }));
        return g_failedStatus;
    } catch (const std::exception& e) {
        Error(e.what());
        return g_failedStatus;
    }
    // What is still buffered, and what the system reports only when the output is closed.
    const bool bFlushed = std::fflush(stdout) == 0 && !std::ferror(stdout);
    const int error = errno;
    if (!bFlushed || std::fclose(stdout) != 0) {
        Error(Fill(CliText("cannot write the output: %1"), { std::strerror(bFlushed ? errno : error) }));
        return g_failedStatus;
    }
    return status;
}
