#include "macro/ui/MacroItemDialog.h"

#include <algorithm>
#include <array>

#include "device/MacroBlock.h"
#include "macro/KeyNames.h"
#include "macro/KeySource.h"
#include "macro/KeyTables.h"
#include "macro/MacroRecorder.h"
#include "macro/ui/NumberFields.h"
#include "skin/CheckBox.h"
#include "skin/Combo.h"
#include "skin/Notification.h"
#include "skin/PaintManager.h"

namespace mousecfg::macroui {
namespace {

constexpr int kMouseKind = 0;
constexpr int kKeyKind = 1;
constexpr int kMoveKind = 2;
constexpr int kDpiKind = 3;
constexpr int kMaxDelay = 50000;
constexpr int kMaxDistance = 65535;

constexpr std::array<const char*, 5> kButtonNames{"Left Click", "Middle Click", "Right Click", "K4", "K5"};
constexpr std::array<const char*, 4> kTypeKeys{"MouseType", "KeyboardValue", "XYType", "DPIType"};
constexpr std::array<const char*, 4> kTypeNames{"Mouse button", "Keyboard key", "Pointer move", "DPI switch"};

// The move text of a direction (state 3..6) and two distances, X first.
std::string MoveText(int state, int x, int y) {
    static constexpr std::array<const char*, 4> kArrows{"[\u2190]:%,[\u2191]:%", "[\u2190]:%,[\u2193]:%",
                                                        "[\u2192]:%,[\u2191]:%", "[\u2192]:%,[\u2193]:%"};
    std::string text = kArrows[static_cast<size_t>(std::clamp(state - 3, 0, 3))];
    text.replace(text.find('%'), 1, std::to_string(x));
    text.replace(text.find('%'), 1, std::to_string(y));
    return text;
}

int KindOf(int code) {
    if (code >= item::kLeftButton && code <= item::kButton5) {
        return kMouseKind;
    }
    if (code == item::kMove) {
        return kMoveKind;
    }
    return code == item::kDpi ? kDpiKind : kKeyKind;
}

}  // namespace

MacroItemDialog::MacroItemDialog(skin::PaintManager& manager, std::function<const KeyNames&()> keyNames,
                                 KeySource& capture, TextLookup texts)
    : manager_(manager), keyNames_(std::move(keyNames)), capture_(capture), texts_(std::move(texts)) {}

skin::Control* MacroItemDialog::Find(const char* name) const {
    return manager_.FindControl(name);
}

void MacroItemDialog::SetVisible(const char* name, bool visible) {
    if (skin::Control* control = Find(name)) {
        control->SetVisible(visible);
    }
}

std::string MacroItemDialog::Text(std::string_view key, const char* fallback) const {
    if (auto text = texts_ ? texts_(key) : std::nullopt; text && !text->empty()) {
        return *text;
    }
    return fallback;
}

int MacroItemDialog::Selected(const char* combo) const {
    const auto* control = dynamic_cast<const skin::Combo*>(Find(combo));
    return control != nullptr ? std::max(control->GetCurSel(), 0) : 0;
}

void MacroItemDialog::Choose(const char* combo, int index) {
    if (auto* control = dynamic_cast<skin::Combo*>(Find(combo))) {
        control->SelectItem(index, false);
    }
}

void MacroItemDialog::Open(const MacroItem& item) {
    mode_ = item.mode;
    if (skin::Control* title = Find("lab_Motify_Title")) {
        title->SetText(mode_ == kInsertBefore || mode_ == kInsertAfter ? Text("InsertItem", "Insert item")
                                                                       : Text("EditItem", "Edit item"));
    }
    const int kind = KindOf(item.code);
    keyCode_ = kind == kKeyKind ? item.code : 0x04;
    keyText_ = kind == kKeyKind ? item.text : keyNames_().ItemKeyName(keyCode_);
    lastScan_.reset();
    Choose("btn_Modify_ListKeyType", kind);
    Choose("btn_Modify_MouseType", kind == kMouseKind ? item.code - item::kLeftButton : 0);
    Choose("btn_Motify_XYType", kind == kMoveKind ? std::clamp(item.state - 3, 0, 3) : 1);
    if (auto* status = dynamic_cast<skin::CheckBox*>(Find("btn_Motify_Status"))) {
        status->SetCheck(item.state != item::kPress, false);
    }
    if (skin::Control* x = Find("edit_Motify_Xvalue")) {
        x->SetText(std::to_string(kind == kMoveKind ? item.x : 0));
    }
    if (skin::Control* y = Find("edit_Motify_Yvalue")) {
        y->SetText(std::to_string(kind == kMoveKind ? item.y : 1));
    }
    if (skin::Control* delay = Find("edit_Motify_Delay")) {
        delay->SetText(std::to_string(std::clamp(item.delay, 0, kMaxDelay)));
    }
    Arrange(kind);
    MarksFollowDirection();
}

// Shows the controls of a kind: the button selector, the key field, or the direction with its distances; press
// and release for all but moves (disabled for a DPI switch).
void MacroItemDialog::Arrange(int kind) {
    kind_ = std::clamp(kind, kMouseKind, kDpiKind);
    SetVisible("btn_Modify_MouseType", kind_ == kMouseKind);
    SetVisible("chk_Modify_KeyboardValue", kind_ == kKeyKind);
    SetVisible("lab_Motify_KeyHint", kind_ == kKeyKind);
    SetVisible("Layout_Motify_Marks", kind_ == kKeyKind || kind_ == kMoveKind);
    for (const char* name : {"btn_Motify_XYType", "chk_Motify_XDirect", "chk_Motify_YDirect",
                             "Layout_Motify_XYValue"}) {
        SetVisible(name, kind_ == kMoveKind);
    }
    SetVisible("lab_Motify_StatusText", kind_ != kMoveKind);
    SetVisible("btn_Motify_Status", kind_ != kMoveKind);
    if (skin::Control* status = Find("btn_Motify_Status")) {
        status->SetEnabled(kind_ != kDpiKind);
    }
    if (skin::Control* type = Find("lab_Motify_TypeName")) {
        type->SetText(Text(kTypeKeys[static_cast<size_t>(kind_)], kTypeNames[static_cast<size_t>(kind_)]));
    }
    ShowKey();
}

void MacroItemDialog::ShowKey() {
    if (auto* key = dynamic_cast<skin::CheckBox*>(Find("chk_Modify_KeyboardValue"))) {
        key->SetText(keyText_);
        key->SetCheck(capturing_, false);
    }
}

void MacroItemDialog::MarksFollowDirection() {
    // X on = right, Y on = up: states 3 (left, up) .. 6 (right, down).
    const int state = Selected("btn_Motify_XYType") + 3;
    if (auto* x = dynamic_cast<skin::CheckBox*>(Find("chk_Motify_XDirect"))) {
        x->SetCheck(state == item::kMoveRightUp || state == item::kMoveRightDown, false);
    }
    if (auto* y = dynamic_cast<skin::CheckBox*>(Find("chk_Motify_YDirect"))) {
        y->SetCheck(state == item::kMoveLeftUp || state == item::kMoveRightUp, false);
    }
}

void MacroItemDialog::DirectionFollowsMarks() {
    const auto* x = dynamic_cast<const skin::CheckBox*>(Find("chk_Motify_XDirect"));
    const auto* y = dynamic_cast<const skin::CheckBox*>(Find("chk_Motify_YDirect"));
    const bool right = x != nullptr && x->IsChecked();
    const bool up = y != nullptr && y->IsChecked();
    const int state = right ? (up ? item::kMoveRightUp : item::kMoveRightDown)
                            : (up ? item::kMoveLeftUp : item::kMoveLeftDown);
    Choose("btn_Motify_XYType", state - 3);
}

void MacroItemDialog::ClampField(const char* name, int max) {
    if (skin::Control* field = Find(name)) {
        if (std::string text = ClampedFieldText(field->GetText(), max); text != field->GetText()) {
            field->SetText(std::move(text));
        }
    }
}

MacroItemDialog::Outcome MacroItemDialog::Notify(skin::Notification& notification) {
    const std::string& name = notification.senderName;
    const std::string_view type = notification.type;
    const bool fromKeyField = name == "chk_Modify_KeyboardValue";
    if (capturing_ && !fromKeyField &&
        (type == skin::notify::kClick || type == skin::notify::kItemSelect || type == skin::notify::kSetFocus ||
         type == skin::notify::kKillFocus)) {
        SetCapture(false);
    }
    if (type == skin::notify::kClick) {
        if (fromKeyField) {
            SetCapture(!capturing_);
            // The check box changes its own state after this click; capture and check box agree then.
            if (auto* key = dynamic_cast<skin::CheckBox*>(Find("chk_Modify_KeyboardValue"))) {
                key->SetCheck(!capturing_, false);
            }
        } else if (name == "btn_Motify_Apply") {
            return Outcome::Apply;
        } else if (name == "btn_Motify_Cancel") {
            return Outcome::Cancel;
        }
    } else if (type == skin::notify::kItemSelect) {
        if (name == "btn_Modify_ListKeyType") {
            Arrange(Selected("btn_Modify_ListKeyType"));
        } else if (name == "btn_Motify_XYType") {
            MarksFollowDirection();
        }
    } else if (type == skin::notify::kSelectChanged &&
               (name == "chk_Motify_XDirect" || name == "chk_Motify_YDirect")) {
        DirectionFollowsMarks();
    } else if (type == skin::notify::kTextChanged) {
        if (name == "edit_Motify_Delay") {
            ClampField("edit_Motify_Delay", kMaxDelay);
        } else if (name == "edit_Motify_Xvalue" || name == "edit_Motify_Yvalue") {
            ClampField(name.c_str(), kMaxDistance);
        }
    } else if (type == skin::notify::kReturn && name == "edit_Motify_Delay") {
        manager_.SetFocus(Find("btn_Motify_Temp"));
    }
    return Outcome::None;
}

void MacroItemDialog::SetCapture(bool on) {
    if (on == capturing_) {
        return;
    }
    capturing_ = on;
    on ? capture_.StartCapture() : capture_.StopCapture();
    ShowKey();
}

void MacroItemDialog::StopCapture() {
    SetCapture(false);
}

bool MacroItemDialog::OnKey(int message, int scanCode) {
    if (!capturing_) {
        return false;
    }
    if (message == keymsg::kKeyDown || message == keymsg::kSysKeyDown) {
        keyCode_ = ScanToHid(scanCode);
        keyText_ = keyNames_().ScanKeyName(scanCode);
        lastScan_ = scanCode;
        ShowKey();
    }
    return true;
}

void MacroItemDialog::OnKeyNamesChanged() {
    keyText_ = lastScan_ ? keyNames_().ScanKeyName(*lastScan_) : keyNames_().ItemKeyName(keyCode_);
    ShowKey();
}

MacroItem MacroItemDialog::Result() const {
    MacroItem item;
    item.mode = mode_;
    const auto* status = dynamic_cast<const skin::CheckBox*>(Find("btn_Motify_Status"));
    item.state = status != nullptr && status->IsChecked() ? item::kRelease : item::kPress;
    const auto number = [this](const char* name, int max) {
        const skin::Control* field = Find(name);
        return std::clamp(field != nullptr ? FieldNumber(field->GetText()) : 0, 0, max);
    };
    switch (kind_) {
        case kMouseKind: {
            const int button = std::clamp(Selected("btn_Modify_MouseType"), 0, 4);
            item.code = item::kLeftButton + button;
            item.text = kButtonNames[static_cast<size_t>(button)];
            break;
        }
        case kMoveKind:
            item.code = item::kMove;
            item.state = Selected("btn_Motify_XYType") + 3;
            item.x = static_cast<uint16_t>(number("edit_Motify_Xvalue", kMaxDistance));
            item.y = static_cast<uint16_t>(number("edit_Motify_Yvalue", kMaxDistance));
            item.text = MoveText(item.state, item.x, item.y);
            break;
        case kDpiKind:
            item.code = item::kDpi;
            item.text = "[DPI]:400 ";
            break;
        default:
            item.code = keyCode_;
            item.text = keyText_;
            break;
    }
    item.delay = number("edit_Motify_Delay", kMaxDelay);
    return item;
}

}  // namespace mousecfg::macroui
