#pragma once

#include <string>

// A function key bound to a folder. A folder's own record leaves folderName empty; the Assign
// Keys dialog's working rows fill all three.
struct KeyAssignment
{
    std::string folderName;
    std::string key;      // "F4" ... "F12", or "F3" for Trash
    std::string function; // "Move" or "Copy"
};
