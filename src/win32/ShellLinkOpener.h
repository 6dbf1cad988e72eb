#pragma once
// Links opened by the Windows shell's "open" verb.
#include "platform/LinkOpener.h"

namespace ramvel::win32 {

class ShellLinkOpener : public ILinkOpener {
public:
    // ShellExecuteW "open", SW_SHOW. The result is not examined: a link that cannot be opened
    // shows nothing and raises nothing.
    void OpenLink(const std::u16string& link) override;
};

}  // namespace ramvel::win32
