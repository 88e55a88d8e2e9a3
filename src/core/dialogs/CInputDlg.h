#pragma once

#include <string>

#include "platform/Translatable.h"

// The one-line prompt: a label and a text field. The caller sets both, runs the dialog and
// reads m_strText back after OK; the object can be run again.
class CInputDlg
{
public:
    static constexpr const char* kCaption = QB_TRANSLATE_NOOP("Dialog", "Input Dialog");

    std::string m_strText;
    std::string m_strLabel;
};
