#include "config/ui/PageFailure.h"

#include "config/ui/PageContext.h"
#include "config/ui/PageTexts.h"
#include "platform/MessageBoxes.h"
#include "platform/Status.h"
#include "platform/Trace.h"

namespace mousecfg::ui {

void ShowFailure(PageContext& context, const Status& status) {
    if (status) {
        return;
    }
    trace::Printf("%s\n", status.message().c_str());
    const PageTexts& texts = context.texts;
    context.boxes.Show({texts.Message("Tip"), texts.Message("Error") + "\n" + status.message(),
                        texts.Message("MessageOK"), "", true});
}

}  // namespace mousecfg::ui
