#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "CliNotebook.h"
#include "CliOutput.h"
#include "CliWords.h"
#include "storage/FileAccess.h"
#include "storage/FileIdentity.h"
#include "storage/HistoryStore.h"
#include "words/Translate.h"

// The words of one command line after the command's name: its operands and options.
struct Args
{
    std::vector<std::string> operands;
    std::set<std::string> flags;
    // The last value of each option given, and every value of each in order.
    std::map<std::string, std::string> values;
    std::map<std::string, std::vector<std::string>> allValues;

    bool Has(const std::string& flag) const { return flags.count(flag) > 0; }
    void Set(const std::string& option, const std::string& value)
    {
        values[option] = value;
        allValues[option].push_back(value);
    }
    // The value of an option, or null when it was not given.
    const std::string* Value(const std::string& option) const;
};

// The options a command takes: flags ("-i", "--create"), options with a value ("-o") and long
// options whose value, when they have one, is joined to them ("--color=never"; alone, "--color"
// has the empty value).
struct CommandOptions
{
    std::vector<std::string> flags;
    std::vector<std::string> valued;
    std::vector<std::string> optional = {};
};

// Splits words into operands and options: "--name=value", "-o value", short options given
// together ("-in") and a value joined to its short option ("-ofile"), "-" as an operand and "--"
// before operands that start with "-". False, with `error` set, for an option the command does
// not take.
bool ParseArgs(const std::vector<std::string>& words, const CommandOptions& options, Args& args, std::string& error);

// Exit statuses of every command but grep and check.
inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;
// grep and check fail with 2, as grep does, since their 1 means "nothing found".
inline constexpr int kTrouble = 2;

// A message on standard error, after the program's name.
void Error(const std::string& message);

// The path to read for a file operand: "-" reads standard input, which is kept in memory so
// that it can be read more than once.
std::string InputPath(const std::string& operand);

// Opens a notebook from its bytes as from a file that holds them, saying nothing.
ReadReport OpenBytes(HeadlessNotebook& nb, std::string_view bytes);

// The complete copy of the notebook that a cut save left beside the notebook file `operand`,
// which the file may then lack (disk/SaveCopy.h).
std::optional<std::string> CutSaveCopy(const std::string& operand);
// True when two paths name one existing file.
bool SameFile(const std::string& a, const std::string& b);

// Opens a notebook file into nb; false, after saying why, when there is nothing to show.
// A notebook that could be read only in part is refused when bForWriting is set, so that no
// command writes what is left of it over anything.
bool Open(HeadlessNotebook& nb, const std::string& operand, bool bForWriting);

// Saves a notebook as the window saves it; "-" writes it to standard output. False, after
// saying why, when it could not. A notebook file is written under its writer's lock, and not
// at all while a Quillbox window has it open, unless bForce.
bool Save(HeadlessNotebook& nb, const std::string& operand, bool bForce);

// Opens the notebook `operand`, lets `change` make the command's change (false, after saying
// why, when it cannot) and saves it there, as Save does. The lock is held from reading to
// replacing the file; should another program replace it all the same, the change is made again
// to what that program wrote. Returns the command's exit status.
// The history Quillbox keeps of notebooks, as this run of the program reaches it.
HistoryStore& History();
// Keeps the notebook as read from, or saved to, the file `operand` names (none for "-"). A
// version helps a later merge or restore and is not the user's work: one that cannot be kept is
// none.
void KeepVersionOf(const std::string& operand, const NotebookSnapshot& notebook, HistoryKind kind);

// Writes the notebook over `target` as a save does, stopping when `unchanged` says another wrote
// it meanwhile; kept then as a version of that kind, when one is given.
SaveResult SaveSnapshot(const std::string& target, const NotebookSnapshot& notebook, const ReplaceCheck& unchanged,
                        std::optional<HistoryKind> keep);

int ChangeNotebook(const std::string& operand, bool bForce, const std::function<bool(HeadlessNotebook&)>& change);
// The same for a command that writes the notebook file `operand` its own way: under the lock,
// `attempt` reads the file, makes what replaces it and saves it with the check it is given,
// which passes while the file is as `known` says (`attempt` may add the hash of what it read).
// It returns the save's result, or nothing after saying why it made none; a save refused
// because another program replaced the file meanwhile is attempted again.
using RewriteAttempt = std::function<std::optional<SaveResult>(std::optional<FileIdentity>& known, const ReplaceCheck& unchanged)>;
int RewriteNotebook(const std::string& operand, bool bForce, const RewriteAttempt& attempt);
// Exports the selected folder as Export Folder does; "-" writes it to standard output.
bool ExportSelected(HeadlessNotebook& nb, const std::string& operand);
// Writes what `produce` makes, text in the encoding `kind`, safely to a file, or to standard
// output for "-"; false, after saying why, when the file could not be written.
bool WriteOutput(const std::string& operand, TextEncoding::Kind kind, const ChunkProducer& produce);

// A command line's words are UTF-8. In a Windows-1252 notebook a name, pattern or text given
// there is taken in the notebook's own bytes where it has them; output that shows what the
// window would show comes back as UTF-8.
std::string ToNotebook(const HeadlessNotebook& nb, const std::string& words);
std::string ToNotebook(TextEncoding::Kind encoding, const std::string& words);
std::string FromNotebook(const HeadlessNotebook& nb, std::string_view bytes);

// The folder a path names in nb, or null after saying that there is none.
Folder* FindFolder(HeadlessNotebook& nb, const std::string& operand, const std::string& path);
// Selects a folder in the tree as a click would; its text goes into the editor.
void Select(HeadlessNotebook& nb, const Folder* pFolder);
