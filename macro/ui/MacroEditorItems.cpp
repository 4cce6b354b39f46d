// The items of the selected macro: the list rows, loop mode and repeat count, inserting, editing and deleting
// items through the item dialog, and the buttons the macro is bound to.
#include <algorithm>

#include "macro/MacroSize.h"
#include "macro/MacroStore.h"
#include "macro/ui/ControlSearch.h"
#include "macro/ui/MacroEditor.h"
#include "macro/ui/NumberFields.h"
#include "platform/TextEncoding.h"
#include "skin/List.h"
#include "skin/ListElement.h"
#include "skin/Option.h"
#include "skin/SkinBuilder.h"
#include "skin/SkinWindow.h"
#include "skin/WindowHost.h"

namespace mousecfg::macroui {
namespace {

struct RowKind {
    const char* picture = nullptr;
    int tag = 0;
};

// The picture and kind number of a row by its item code; a pure delay (0) has none of its own.
RowKind KindOf(uint8_t code) {
    if (code == item::kMove) {
        return {"MacroDock/png/move.png", 2};
    }
    if (code == item::kDpi) {
        return {"MacroDock/png/dpi.png", 3};
    }
    if (code >= item::kLeftButton && code <= item::kButton5) {
        return {"MacroDock/png/mouse.png", 1};
    }
    if (code != item::kDelay) {
        return {"MacroDock/png/KB2.png", 0};
    }
    return {};
}

const char* StatePicture(uint8_t state) {
    switch (state) {
        case item::kPress: return "MacroDock/png/KeyDown.png";
        case item::kRelease: return "MacroDock/png/KeyUp.png";
        case item::kMoveLeftUp: return "MacroDock/png/2.png";
        case item::kMoveLeftDown: return "MacroDock/png/1.png";
        case item::kMoveRightUp: return "MacroDock/png/4.png";
        case item::kMoveRightDown: return "MacroDock/png/3.png";
        default: return nullptr;
    }
}

std::string DelayText(int32_t delay) {
    return std::to_string(delay) + " ms";
}

void SetChildText(skin::Control& row, const char* name, const std::string& text) {
    if (skin::Control* child = FindIn(row, name)) {
        child->SetText(text);
    }
}

void SetChildPicture(skin::Control& row, const char* name, const char* picture) {
    if (skin::Control* child = FindIn(row, name); child != nullptr && picture != nullptr) {
        child->SetAttribute("bkimage", picture);
    }
}

// The button a binding names, as the binding list shows it: "btn_MouseKey_Click4" is the mouse's fifth button.
// The language's text names the number with "%d" (replaced as text: a language file is no format string).
std::string ButtonText(const std::string& keyName, std::string text) {
    constexpr std::string_view kPrefix = "btn_MouseKey_Click";
    if (!keyName.starts_with(kPrefix) || keyName.size() == kPrefix.size()) {
        return keyName;
    }
    const std::string number = std::to_string(FieldNumber(std::string_view(keyName).substr(kPrefix.size())) + 1);
    const size_t at = text.find("%d");
    return at == std::string::npos ? text + " " + number : text.replace(at, 2, number);
}

}  // namespace

int MacroEditor::SelectedRow() const {
    const auto* list = dynamic_cast<const skin::List*>(Find("list_Macro_KeyDisplay"));
    return list != nullptr ? list->GetCurSel() : -1;
}

void MacroEditor::ShowRows(int selectRow) {
    auto* list = dynamic_cast<skin::List*>(Find("list_Macro_KeyDisplay"));
    if (list == nullptr) {
        return;
    }
    list->RemoveAll();
    store_.ResetItemCounts();
    const int count = store_.workingMacro().block.ItemCount();
    for (int i = 0; i < count; ++i) {
        list->Add(MakeRow(i));
    }
    SetVisible("lab_Macro_ListHint", count == 0);
    if (selectRow >= 0 && selectRow < count) {
        list->SelectItem(selectRow, false);
        list->EnsureVisible(selectRow);
    }
}

std::unique_ptr<skin::Control> MacroEditor::MakeRow(int index) {
    skin::SkinBuilder builder(window_->GetPaintManager(), window_);
    std::unique_ptr<skin::Control> row = builder.BuildPartControl(skinFolder_ / "listitem.xml");
    if (dynamic_cast<skin::ListElement*>(row.get()) == nullptr) {
        row = std::make_unique<skin::ListElement>();
        row->SetFixedHeight(30);
    }
    const MacroStore::ItemDescription item = store_.DescribeItem(index);
    // A pure delay shows the picture of the row before it.
    RowKind kind = KindOf(item.code);
    for (int before = index - 1; kind.picture == nullptr && before >= 0; --before) {
        kind = KindOf(store_.workingMacro().block.macVal[static_cast<size_t>(before)]);
    }
    if (skin::Control* type = FindIn(*row, "type")) {
        SetChildPicture(*row, "type", kind.picture);
        type->SetTag(static_cast<uintptr_t>(kind.tag));
    }
    SetChildText(*row, "key", item.text);
    SetChildPicture(*row, "option", StatePicture(item.state));
    SetChildText(*row, "delay", DelayText(item.delay));
    return row;
}

void MacroEditor::ShowBindings(const MacroRecord& macro) {
    int pairs = 0;
    skin::Control* rows = Find("VLayout_BindKeys");
    if (rows != nullptr && rows->Children() != nullptr) {
        rows->Children()->RemoveAll();
    }
    skin::SkinBuilder builder(window_->GetPaintManager(), window_);
    for (const auto& [device, bindings] : macro.bindings) {
        for (const MacroBinding& binding : bindings) {
            ++pairs;
            std::unique_ptr<skin::Control> row = builder.BuildPartControl(skinFolder_ / "listBindkeys.xml");
            if (row == nullptr || rows == nullptr || rows->Children() == nullptr) {
                continue;
            }
            std::string config = binding.config;
            if (config.size() == 8 && config.starts_with("Profile") && config[7] >= '1' && config[7] <= '3') {
                config = texts_.profiles[static_cast<size_t>(config[7] - '1')];
            }
            SetChildText(*row, "DeviceName", Utf16ToUtf8(device));
            SetChildText(*row, "DeviceConfig", config);
            SetChildText(*row, "DeviceKey", ButtonText(binding.keyName, texts_.buttonName));
            rows->Children()->Add(std::move(row));
        }
    }
    for (const char* name : {"label_bindkeys", "label_bindkeys_num", "VLayout_BindKeys_Info"}) {
        SetVisible(name, pairs > 0);
    }
    SetText("label_bindkeys_num", std::to_string(pairs));
}

void MacroEditor::ShowLoopMode(const MacroRecord& macro) {
    const char* option = "opt_Macro_CycleTimes";
    switch (macro.block.rptType & 3) {
        case 1: option = "opt_Macro_CycleUntilRelease"; break;
        case 2: option = "opt_Macro_CycleUntilClick"; break;
        default: break;
    }
    if (auto* selected = dynamic_cast<skin::Option*>(Find(option))) {
        selected->Selected(true, false);
    }
    SetText("Edit_Macro_Time", std::to_string(std::max<int>(macro.block.macRpt, 1)));
    SetEnabled("Edit_Macro_Time", std::string_view(option) == "opt_Macro_CycleTimes");
}

void MacroEditor::OnLoopOption(const std::string& option) {
    const MacroRecord* macro = SelectedRecord();
    if (macro == nullptr || macro->forbidView) {
        return;
    }
    const skin::Control* edit = Find("Edit_Macro_Time");
    const int count = FieldNumber(RepeatCountText(edit != nullptr ? edit->GetText() : ""));
    Report(store_.SetLoopMode(group_, macro_, option, count));
    SetEnabled("Edit_Macro_Time", option == "opt_Macro_CycleTimes");
    if (SelectedIsBound()) {
        SendMacrosChanged();
    }
}

void MacroEditor::OnRepeatCountTyped() {
    skin::Control* edit = Find("Edit_Macro_Time");
    if (edit == nullptr) {
        return;
    }
    if (std::string normalised = RepeatCountText(edit->GetText()); normalised != edit->GetText()) {
        edit->SetText(std::move(normalised));
    }
}

void MacroEditor::ApplyRepeatCount() {
    const MacroRecord* macro = SelectedRecord();
    const skin::Control* edit = Find("Edit_Macro_Time");
    if (macro == nullptr || macro->forbidView || edit == nullptr || !edit->IsEnabled()) {
        return;
    }
    const int count = FieldNumber(RepeatCountText(edit->GetText()));
    const MacroBlock& block = store_.workingMacro().block;
    if ((block.rptType & 3) == 0 && block.macRpt == count) {
        return;  // Enter, then the focus leaving: the count is stored once
    }
    if (Report(store_.SetLoopMode(group_, macro_, "opt_Macro_CycleTimes", count))) {
        MarkToSave();
    }
}

void MacroEditor::OpenInsertMenu() {
    if (SelectedRecord() == nullptr) {
        Message(texts_.selWarn);
        return;
    }
    const MacroBlock& block = store_.workingMacro().block;
    if (EstimatedImageSize(block, block.ItemCount()) > kMacroImageBudget) {
        Message(texts_.exceed);
        return;
    }
    if (!insertMenu_.Load(skinFolder_ / "PopMacroInsert.xml")) {
        return;
    }
    if (placement_ == 0xFF) {
        placement_ = kInsertAfter;
    }
    for (const auto& [name, checked] : {std::pair{"opt_InsertBefor", placement_ == kInsertBefore},
                                        std::pair{"opt_InsertAfter", placement_ != kInsertBefore}}) {
        if (skin::MenuItem* option = insertMenu_.FindItem(name)) {
            option->checked = checked;
        }
    }
    const skin::Control* button = Find("btn_Macro_InsertKey");
    const skin::Rect at = button != nullptr ? button->GetPos() : skin::Rect{};
    insertMenuAt_ = window_->GetHost() != nullptr ? window_->GetHost()->ClientToScreen({at.left, at.bottom})
                                                  : skin::Point{at.left, at.bottom};
    insertMenu_.Popup(*window_, insertMenuAt_);
}

void MacroEditor::OnInsertEntry(const std::string& entry) {
    if (entry == "opt_InsertBefor" || entry == "opt_InsertAfter") {
        placement_ = entry == "opt_InsertBefor" ? kInsertBefore : kInsertAfter;
        OpenInsertMenu();  // the placement is part of the menu: it stays open for the choice of the item
        return;
    }
    if (SelectedRecord() == nullptr) {
        return;
    }
    MacroItem item;
    item.mode = placement_ == kInsertBefore ? kInsertBefore : kInsertAfter;
    item.delay = 10;
    item.state = item::kPress;
    if (entry == "menu_Macro_InsertMouse") {
        item.code = item::kLeftButton;
        item.text = store_.keyNames().ItemKeyName(item::kLeftButton);
    } else if (entry == "menu_Macro_InsertKB") {
        item.code = 0x04;
        item.text = store_.keyNames().ItemKeyName(0x04);
    } else if (entry == "menu_Macro_InsertXY") {
        item.code = item::kMove;
        item.state = item::kMoveLeftDown;
        item.text = "[\u2190]:0,[\u2193]:1";
        item.y = 1;
    } else if (entry == "menu_Macro_InsertDpi") {
        item.code = item::kDpi;
    } else {
        return;
    }
    host_.OpenItemDialog(item);
}

void MacroEditor::OpenDialogForRow(skin::Control& modify) {
    auto* row = AncestorOf<skin::ListElement>(&modify);
    auto* list = dynamic_cast<skin::List*>(Find("list_Macro_KeyDisplay"));
    if (row == nullptr || list == nullptr || SelectedRecord() == nullptr) {
        return;
    }
    const int index = list->GetItemIndex(row);
    if (index < 0) {
        return;
    }
    list->SelectItem(index, false);
    const MacroStore::ItemDescription description = store_.DescribeItem(index);
    const MacroBlock::Point distances = store_.workingMacro().block.extVal[static_cast<size_t>(index)];
    host_.OpenItemDialog(MacroItem{description.code, description.text, description.state, description.delay,
                                   kEditRow, distances.x, distances.y});
}

// The item dialog's answer: the selected row is replaced (edit) or the item goes before or after it. The macro
// keeps the change only when the mouse can still hold it.
void MacroEditor::OnDialogResult(const MacroItem& item, int mode) {
    if (SelectedRecord() == nullptr) {
        return;
    }
    const MacroBlock before = store_.workingMacro().block;
    const int count = before.ItemCount();
    const int selected = SelectedRow();
    const auto code = static_cast<uint8_t>(item.code);
    const auto state = static_cast<uint8_t>(item.state);
    int row = 0;
    Status stored = Status::Ok();
    if (mode == kEditRow) {
        if (count == 0) {
            return;
        }
        row = std::clamp(selected, 0, count - 1);
        // Removing and inserting keeps the kind counters, a move's distances and the DPI code right. The two go
        // together: a removal whose save failed is still in the macro, and the item must come back in its place.
        stored = store_.DeleteItem(group_, macro_, row);
        if (store_.workingMacro().block.ItemCount() == count - 1) {
            stored = store_.InsertItem(group_, macro_, row, code, state, item.delay, item.text);
        }
    } else {
        if (count >= MacroBlock::kMaxItems) {
            store_.InsertItem(group_, macro_, count, code, state, item.delay, item.text);  // tells the user
            return;
        }
        row = selected < 0 ? 0 : std::min(selected + (mode == kInsertAfter ? 1 : 0), count);
        stored = store_.InsertItem(group_, macro_, row, code, state, item.delay, item.text);
    }
    if (!Report(stored)) {
        ShowRows(row);
        return;
    }
    if (StoreEdit(before, row)) {
        MarkToSave();
        ShowRows(row);
    }
}

// Keeps the edit when the mouse can hold the macro; otherwise stores the macro as it was and says why.
bool MacroEditor::StoreEdit(const MacroBlock& before, int row) {
    if (FitsOnMouse(store_.workingMacro().block)) {
        return true;
    }
    store_.workingMacro().block = before;
    Report(store_.StoreWorkingMacro(group_, macro_));
    Message(texts_.exceed, false);
    ShowRows(std::min(row, before.ItemCount() - 1));
    return false;
}

void MacroEditor::DeleteItem() {
    const int row = SelectedRow();
    if (SelectedRecord() == nullptr || row < 0) {
        Message(texts_.selOne);
        return;
    }
    const bool deleted = Report(store_.DeleteItem(group_, macro_, row));
    ShowRows(std::min(row, store_.workingMacro().block.ItemCount() - 1));
    if (deleted) {
        MarkToSave();
    }
}

}  // namespace mousecfg::macroui
