#pragma once

#include <string>

namespace mousecfg {

// A message window to show the user. Texts are final (already looked up in the language file); an empty
// cancel text shows a single button.
struct MessageBoxRequest {
    std::string title;
    std::string text;
    std::string confirmText = "OK";
    std::string cancelText;
    bool modal = true;
};

// Shows message windows: the program's message window in the GUI, a recording fake in tests, stderr in the
// command-line tool. Called on the user-interface thread.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows the message; a modal one blocks until answered and returns 1 for confirm, 0 for cancel or close.
    // A non-modal one returns 0 at once.
    virtual int Show(const MessageBoxRequest& request) = 0;
};

}  // namespace mousecfg
