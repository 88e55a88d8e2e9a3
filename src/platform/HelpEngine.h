#pragma once

// Shows the program's help: the contents page or one topic by its context number.
class HelpEngine
{
public:
    virtual ~HelpEngine() = default;
    virtual void ShowContents() = 0;
    virtual void ShowContext(unsigned long context) = 0;
};
