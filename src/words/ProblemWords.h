#pragma once

#include <functional>
#include <string>

#include "storage/FileProblem.h"

// The words the window and the command-line program give a file problem. The core hands up
// values only; what the user reads is said here, once for both.

// How a front end shows a file's path in its words; none keeps the bytes as they are.
using PathShower = std::function<std::string(const std::string& path)>;
// The problem as the sentence both front ends show, naming the files through `show`:
// "Cannot open "/tmp/a.not": No such file or directory."
std::string DescribeProblem(const FileProblem& problem, const PathShower& show = {});
// Why, in a few words without the action or the file: "it is read-only".
std::string DescribeReason(const FileProblem& problem, const PathShower& show = {});
