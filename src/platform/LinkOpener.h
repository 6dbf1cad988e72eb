#pragma once
// The shell's way of opening a link (a web address, a "mailto:" link...) with the program
// registered for it.
#include <string>

namespace ramvel {

class ILinkOpener {
public:
    virtual ~ILinkOpener() = default;
    // Hands `link` to the shell and returns at once; whether it could be opened is not reported.
    virtual void OpenLink(const std::u16string& link) = 0;
};

}  // namespace ramvel
