#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "CliCommands.h"

namespace {

const char* const kUsageText = R"(Usage: quillbox-cli COMMAND [OPTIONS] ARGUMENTS...

Reads and writes Quillbox notebook files (*.not) without opening a window, with the code and
the safe save of the program itself.

Commands:
  new FILE
      Create a new notebook with the folders Main and Trash and save it as FILE. Nothing
      already named FILE is replaced, not even a symbolic link to nowhere.
  tree FILE
      Print the folders as the folder tree shows them: sorted by name, two spaces of
      indent per level. A folder with an assigned key shows the key and its function, as
      in "Trash  [F3 Move]"; the folder that was selected when the notebook was saved
      ends in "  *".
  cat FILE PATH
      Print the notes of one folder, byte for byte.
  grep [-i] [-w] [-E] [-n] [--path PATH] FILE PATTERN
      Search the names and notes of every folder, or of PATH and the folders below it,
      in the order of the folder tree, as Find in Notebook does. Each matching line is
      printed as the folder's path, the header line of the note holding it and the line,
      separated by tabs; a matching folder name is printed with an empty header and the
      name. -i ignores the case of letters, -w matches whole words only (words are the
      notebook's letters, digits and underscores), -E takes PATTERN as a POSIX extended
      regular expression (otherwise it is plain text), -n puts the line's number in the
      folder (from 1; 0 for a name) before the line. Every search takes one pass over the
      text, so back-references and \<, \>, \b, \B are refused (-w matches whole words).
      Exit status: 0 when something matched, 1 when nothing did, 2 on an error.
  add [--create] [--force] FILE PATH [TEXT]
      Add a note at the end of the folder's notes, with TEXT or standard input as its
      body, under a header made as Shift+Return makes it: by the notebook's Note Header
      preferences, with the current date and time. With --create, missing folders on the
      path are made as New Folder makes them; a new folder's first note takes the text.
  export --format FORMAT [-o OUT] FILE [PATH]
      Write the whole notebook, or PATH with the folders below it, to OUT (standard
      output when -o is not given), in the order of the folder tree. FORMAT is one of
        text      each folder's path, underlined, then its notes
        markdown  a heading per folder (deeper folders get deeper headings) and each
                  note, header line first, in a fenced block
        html      one self-contained page with a table of contents
        fol       a folder file, byte for byte as Export Folder writes it (needs PATH)
      text, markdown and html have LF line breaks; notes keep the bytes they hold.
  import [--force] FILE FOLFILE PATH
      Add the folder in folder file FOLFILE, with its subtree, under the folder PATH, as
      Import Folder does.
  check [--repair OUT] [--force] FILE
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
  resave [--force] IN OUT
      Open notebook IN and save it as OUT, as opening and saving in Quillbox do. A
      read-only OUT is not replaced.
  merge [-o OUT] [-L OURS-LABEL [-L THEIRS-LABEL]] [--force] BASE OURS THEIRS
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
      by side, 2 on an error (nothing is written then).
  merge --union [-o OUT] [-L OURS-LABEL [-L THEIRS-LABEL]] [--force] OURS THEIRS
      Merge two copies with no common version, such as a file-sync tool's conflict copy:
      every folder and every note of either is kept, notes both hold once. Where the
      copies give a folder's key or a preference differently, OURS wins.
  diff OLD NEW
      List what changed from notebook OLD to NEW: folders added, removed, renamed and
      moved, and notes added, removed and changed, each with the folder's path and the
      note's header, a changed note's lines after it ("-" gone, "+" new). Exit status: 0
      when they hold the same, 1 when they differ, 2 on an error. Given git's seven
      arguments for a diff driver's command (PATH OLD-FILE OLD-HEX OLD-MODE NEW-FILE
      NEW-HEX NEW-MODE), it compares OLD-FILE with NEW-FILE and ends with 0.
  --version
      Print the version.
  --help
      Show this text.

PATH names a folder by the names from the top level down, joined by "/", as in
"Main/Ideas". In a name, write "\/" for a slash and "\\" for a backslash: "Main/A\/B" is the
folder "A/B" in Main. Where sibling folders share a name, the one made first is meant.

Names, patterns and text on the command line are UTF-8. In a notebook kept in Windows-1252
they are taken in its encoding, grep prints UTF-8, and a note with a character Windows-1252
lacks turns the notebook to UTF-8, as typing it in the window would. cat and export keep the
notebook's bytes.

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
on success, 1 on failure and 2 for a command line that is not understood.
)";

struct Command
{
    const char* name;
    CommandOptions options;
    size_t minOperands;
    size_t maxOperands;
    int (*run)(const Args&);
    int failed = kFailed;
};

const Command kCommands[] = {
    { "new", {}, 1, 1, New },
    { "tree", {}, 1, 1, Tree },
    { "cat", {}, 2, 2, Cat },
    { "grep", { { "-i", "-w", "-E", "-n" }, { "--path" } }, 2, 2, Grep, kTrouble },
    { "add", { { "--create", "--force" }, {} }, 2, 3, Add },
    { "export", { {}, { "--format", "-o" } }, 1, 2, Export },
    { "import", { { "--force" }, {} }, 3, 3, Import },
    { "check", { { "--force" }, { "--repair" } }, 1, 1, Check, kTrouble },
    { "resave", { { "--force" }, {} }, 2, 2, Resave },
    { "merge", { { "--union", "--force" }, { "-o", "-L" } }, 2, 3, Merge, kTrouble },
    { "diff", {}, 2, 7, Diff, kTrouble },
};

// The status the program ends with when a command fails on its own account.
int g_failedStatus = kFailed;

int Run(const std::vector<std::string>& words)
{
    const std::string name = words.empty() ? std::string() : words[0];
    if (name == "--help" && words.size() == 1) {
        Write(kUsageText);
        return kOk;
    }
    if (name == "--version" && words.size() == 1) {
        Write("quillbox-cli " QUILLBOX_VERSION "\n");
        return kOk;
    }
    for (const Command& command : kCommands) {
        if (name != command.name)
            continue;
        g_failedStatus = command.failed;
        // Every command fails with 2 on a command line it does not understand.
        Args args;
        std::string error;
        if (!ParseArgs({ words.begin() + 1, words.end() }, command.options, args, error)) {
            Error(name + ": " + error + "; see quillbox-cli --help");
            return kUsage;
        }
        if (args.operands.size() < command.minOperands || args.operands.size() > command.maxOperands) {
            Error(name + " takes " + std::to_string(command.minOperands)
                  + (command.maxOperands > command.minOperands ? " or " + std::to_string(command.maxOperands) : std::string())
                  + " argument(s), not " + std::to_string(args.operands.size()) + "; see quillbox-cli --help");
            return kUsage;
        }
        return command.run(args);
    }
    Error(name.empty() ? "no command given; see quillbox-cli --help" : "unknown command \"" + name + "\"; see quillbox-cli --help");
    return kUsage;
}

} // namespace

int main(int argc, char** argv)
{
    int status = kFailed;
    try {
        status = Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const OutputFailed& failed) {
        Error(std::string("cannot write the output: ") + std::strerror(failed.error));
        return g_failedStatus;
    } catch (const std::exception& e) {
        Error(e.what());
        return g_failedStatus;
    }
    // What is still buffered, and what the system reports only when the output is closed.
    const bool bFlushed = std::fflush(stdout) == 0 && !std::ferror(stdout);
    const int error = errno;
    if (!bFlushed || std::fclose(stdout) != 0) {
        Error(std::string("cannot write the output: ") + std::strerror(bFlushed ? errno : error));
        return g_failedStatus;
    }
    return status;
}
