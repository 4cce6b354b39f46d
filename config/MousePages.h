#pragma once

namespace mousecfg {

// What the mouse configuration asks of the pages that show it: the key page, the advanced DPI/sensor page, the
// lighting page, the assignment popup and the apply progress display. Every call comes on the user-interface
// thread. The default implementations do nothing, so a front end without pages (the command-line tool, tests)
// overrides only what it shows.
class MousePages {
  public:
    virtual ~MousePages() = default;

    // The busy display of an apply run: shown at the start of a run (unless quiet), hidden at its end.
    virtual void ShowApplyProgress(bool /*show*/, bool /*full*/) {}
    // Progress of a full write: requests sent so far and in all.
    virtual void ShowApplySteps(int /*done*/, int /*total*/) {}
    // The profile selector shows `profile` (set without reacting to it).
    virtual void ShowProfileSelector(int /*profile*/) {}
    // The pages of `profile` are set up again: lighting-mode list and visibility, DPI page, lighting page.
    virtual void RefreshPages(int /*profile*/) {}
    // The assignment popup, when open, is set up again for the current profile.
    virtual void ReinitAssignmentPopup() {}
    // Programmatic selections that request no write.
    virtual void ShowLightingMode(int /*mode*/) {}
    virtual void ShowDpiLevel(int /*level*/) {}
    virtual void ShowRate(int /*index*/) {}
    // The button labels changed (label pass after a macro change or a fallback).
    virtual void RefreshButtonLabels() {}
    // An apply run has finished and its results are taken over: a new run can start.
    virtual void ApplyFinished() {}
};

}  // namespace mousecfg
