// The port through which the core tells the user something: a modal message box with an OK
// button, owned by the main window. Every shell implements it; tests record the boxes.
#pragma once

#include <string_view>

namespace tanu {

enum class MessageIcon { Information, Warning };

class MessagePort {
public:
    virtual ~MessagePort() = default;
    virtual void showMessage(std::u16string_view caption, std::u16string_view text,
                             MessageIcon icon) = 0;
};

} // namespace tanu
