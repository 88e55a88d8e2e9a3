#pragma once

// Runs a command the way the menus, the toolbar and the keys run it. The views send the choice
// of a context menu here, so a command takes one path whatever it came from.
class CommandSink
{
public:
    virtual ~CommandSink() = default;
    virtual void RunCommand(int id) = 0;
};
