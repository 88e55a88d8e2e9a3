#include "dialogs/TutorialPrompt.h"

#include <algorithm>
#include <cctype>

namespace {

// The value was always read into a buffer of this many bytes, its terminating null included; a
// longer value failed to read.
constexpr std::size_t kValueBufferBytes = 20;

} // namespace

bool ShouldOfferTutorial(const std::optional<std::string>& value)
{
    if (!value || value->size() + 1 > kValueBufferBytes)
        return true;
    const char* p = value->c_str();
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    bool bNegative = false;
    if (*p == '+' || *p == '-')
        bNegative = *p++ == '-';
    // Only "exactly 1" matters, so the number saturates at 2 instead of overflowing.
    int number = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p)
        number = std::min(number * 10 + (*p - '0'), 2);
    return !bNegative && number == 1;
}

std::string TutorialPromptValue(bool bShowPrompt)
{
    return bShowPrompt ? "1" : "0";
}
