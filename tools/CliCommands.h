#pragma once

#include "CliCommon.h"

// The commands of quillbox-cli. Each takes its parsed words, whose operand count the caller
// has checked, and returns the program's exit status.

// Reading: ReadCommands.cpp
int Tree(const Args& args);
int Cat(const Args& args);
int Check(const Args& args);

// Searching: GrepCommand.cpp
int Grep(const Args& args);

// Writing a notebook: WriteCommands.cpp
int New(const Args& args);
int Resave(const Args& args);
int Add(const Args& args);
int Import(const Args& args);

// ExportCommand.cpp
int Export(const Args& args);

// Merging and comparing notebooks: MergeCommands.cpp
int Merge(const Args& args);
int Diff(const Args& args);

// The kept versions of notebooks: HistoryCommands.cpp
int Log(const Args& args);
int Show(const Args& args);
int Restore(const Args& args);
int HistoryLimit(const Args& args);
