#pragma once

#include <optional>
#include <string>

// The settings value that says whether the Run Tutorial prompt is offered at start.
inline constexpr const char* kTutorialPromptValue = "Tutorial Prompt";

// Whether the stored value asks for the Run Tutorial prompt. A value that cannot be read asks for
// it; otherwise the value is read as a decimal integer (leading white space, an optional sign,
// then digits up to the first other character; no digits reads as 0) and only exactly 1 asks.
bool ShouldOfferTutorial(const std::optional<std::string>& value);

// The value written back after the prompt: "1" while the show-prompt box is ticked, else "0".
std::string TutorialPromptValue(bool bShowPrompt);
