#pragma once
// Modal message box with one OK button.
#include <string>

namespace ramvel {

enum class MessageIcon { None, Warning, Error };

class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    virtual void Show(const std::u16string& caption, const std::u16string& text, MessageIcon icon) = 0;
};

}  // namespace ramvel
