#pragma once

class CommandSink;
class Prompts;
class Clock;
class KeysText;
class Printer;

// The platform services a notebook document and its views call. Null members are allowed
// where a caller never needs them (the command-line tool has no printer and no keys strip).
struct Services
{
    Prompts* pPrompts = nullptr;
    Clock* pClock = nullptr;
    KeysText* pKeysText = nullptr;
    Printer* pPrinter = nullptr;
    // Without one, the document runs its views' context-menu commands itself.
    CommandSink* pCommands = nullptr;
};
