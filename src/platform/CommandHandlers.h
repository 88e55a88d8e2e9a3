#pragma once

#include <algorithm>
#include <iterator>

// A class's commands in one table: each command id with the member that runs it, so that the
// question "is this ours?" and the running of it are answered by the same list.
template <typename Target>
struct CommandHandler
{
    int id;
    void (Target::*handler)();
};

// The handler of `id` in `table`, or null.
template <typename Target, size_t N>
const CommandHandler<Target>* FindCommandHandler(const CommandHandler<Target> (&table)[N], int id)
{
    const auto found = std::find_if(std::begin(table), std::end(table), [id](const auto& entry) { return entry.id == id; });
    return found == std::end(table) ? nullptr : found;
}

// Runs `id` on `target` when the table has it; false otherwise.
template <typename Target, size_t N>
bool RunCommandHandler(const CommandHandler<Target> (&table)[N], Target& target, int id)
{
    const CommandHandler<Target>* pEntry = FindCommandHandler(table, id);
    if (!pEntry)
        return false;
    (target.*pEntry->handler)();
    return true;
}
