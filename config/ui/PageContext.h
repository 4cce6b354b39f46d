#pragma once

namespace mousecfg {
class MessageBoxes;
class ProgramLauncher;
}  // namespace mousecfg

namespace mousecfg::skin {
class SkinWindow;
}  // namespace mousecfg::skin

namespace mousecfg::ui {

class PageChangeFlags;
class PageHost;
class PageSession;
class PageTexts;

// Everything a page works with, owned by the page router and valid for its whole life. The pages' controls live
// in the main window's skin and are found by their names (`window.FindControl`); the page posts its requests to
// the main window (`window.Post`) or makes them through the session.
struct PageContext {
    skin::SkinWindow& window;
    PageSession& session;
    PageHost& host;
    MessageBoxes& boxes;
    ProgramLauncher& launcher;
    // Open a scope around changes of the page's own controls (see PageChangeFlags).
    PageChangeFlags& changes;
    // The language's texts; replaced when the language changes.
    const PageTexts& texts;
};

}  // namespace mousecfg::ui
