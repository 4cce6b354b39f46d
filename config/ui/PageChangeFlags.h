#pragma once

namespace mousecfg::ui {

// While a page changes its own controls, the notifications those changes raise are not the user's and must not be
// handled as such. A page opens a scope around such a change; the page router drops edit notifications
// ("killfocus", "return") or selection notifications ("selectchanged", "itemselect", the colour slot switch) while
// the matching scope is open. Scopes nest. UI thread only.
//
//     auto quiet = context.changes.ChangingSelections();
//     levelOption->Selected(true);  // its "selectchanged" is not taken for a click
class PageChangeFlags {
public:
    class Scope {
    public:
        explicit Scope(int& depth) : depth_(&depth) { ++*depth_; }
        Scope(Scope&& other) noexcept : depth_(other.depth_) { other.depth_ = nullptr; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        Scope& operator=(Scope&&) = delete;
        ~Scope() {
            if (depth_ != nullptr) {
                --*depth_;
            }
        }

    private:
        int* depth_;
    };

    [[nodiscard]] Scope ChangingEdits() { return Scope(edits_); }
    [[nodiscard]] Scope ChangingSelections() { return Scope(selections_); }
    bool EditsSuppressed() const { return edits_ > 0; }
    bool SelectionsSuppressed() const { return selections_ > 0; }

private:
    int edits_ = 0;
    int selections_ = 0;
};

}  // namespace mousecfg::ui
