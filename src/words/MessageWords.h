#pragma once

#include <string>

#include "platform/Messages.h"

// The words of what the program tells and asks the user, made once for every front end. Each
// front end shows the subject (Message::Shown, Question::subject) its own way and hands it in as
// `shown`: the window turns notebook bytes and paths into characters, quillbox-cli and the test
// doubles keep the bytes.
std::string DescribeMessage(const Message& message, const std::string& shown);
// Another Quillbox that holds a notebook: "on HOST, process PID, user USER".
std::string DescribeLockOwner(const LockOwner& owner);
std::string DescribeQuestion(const Question& question, const std::string& shown);
// The question before a save over the file `shown` that another program changed, or removed
// when bVanished.
std::string DescribeSaveOver(bool bVanished, const std::string& shown);
// The question before a modified notebook closes; `shown` is its path, or empty when it has none.
std::string DescribeSaveChanges(const std::string& shown);
