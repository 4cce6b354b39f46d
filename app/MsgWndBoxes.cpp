#include "app/MsgWndBoxes.h"

#include "app/CMsgWnd.h"

namespace mousecfg::app {

int MsgWndBoxes::Show(const MessageBoxRequest& request) {
    const MsgTexts texts{request.title, request.text, request.confirmText, request.cancelText};
    if (request.modal) {
        return CMsgWnd::ShowModalMessage(parent_, texts, 0, {}, request.cancelText.empty());
    }
    if (nonModal_) {
        nonModal_(texts, request.cancelText.empty());
    }
    return 0;
}

}  // namespace mousecfg::app
