#include "config/ui/PageFailure.h"

#include "config/ui/PageContext.h"
#include "config/ui/PageTexts.h"
#include "platform/MessageBoxes.h"
#include "platform/Status.h"
#include "platform/Trace.h"

namespace mousecfg::ui {

void ShowFailure(PageContext& context, const Status& status, std::string_view key) {
    if (status) {
        return;
    }
    trace::Printf("%s\n", status.message().c_str());
    const PageTexts& texts = context.texts;
    context.boxes.Show({texts.Message("Tip"), texts.Message(key) + "\n" + status.message(),
                        texts.Message("MessageOK"), "", true});
}

}  // namespace mousecfg::ui
