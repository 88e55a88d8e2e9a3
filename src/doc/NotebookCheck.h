#pragma once

#include <string>
#include <string_view>
#include <vector>

// One place where a notebook file departs from its format. Lines count from 1.
struct Damage
{
    int line = 0;
    std::string what;
};

// Reads a notebook file's bytes strictly, keyword by keyword and record by record, and lists
// every departure from the format in file order, going on after each one. The reader of the
// document is lenient and opens what it can; this is the account of what it had to overlook.
std::vector<Damage> CheckNotebook(std::string_view data);
