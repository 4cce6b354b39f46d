#pragma once

namespace mousecfg {
class Status;
}  // namespace mousecfg

namespace mousecfg::ui {

struct PageContext;

// Tells the user of a failure the pages could not avoid (a file not written, a program not started): the trace
// gets it, and a message window with the language's "Error" text and the failure's own. Nothing for a success.
void ShowFailure(PageContext& context, const Status& status);

}  // namespace mousecfg::ui
