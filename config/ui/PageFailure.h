#pragma once

#include <string_view>

namespace mousecfg {
class Status;
}  // namespace mousecfg

namespace mousecfg::ui {

struct PageContext;

// Tells the user of a failure the pages could not avoid (a file not written, a program not started): the trace
// gets it, and a message window with the language's message `key` (section "Mouse") and the failure's own text.
// Nothing for a success.
void ShowFailure(PageContext& context, const Status& status, std::string_view key = "Error");

}  // namespace mousecfg::ui
