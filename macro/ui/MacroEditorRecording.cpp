// Recording from the keyboard on the macro page: the record button, the page locked while recording, each
// recorded key shown as it arrives with the size the macro takes on the mouse, and the end of the recording.
#include "macro/MacroSize.h"
#include "macro/MacroStore.h"
#include "macro/ui/ControlSearch.h"
#include "macro/ui/MacroEditor.h"
#include "skin/List.h"
#include "skin/ListElement.h"
#include "skin/Option.h"
#include "skin/SkinWindow.h"

namespace mousecfg::macroui {
namespace {

constexpr const char* kLoopOptions[] = {"opt_Macro_CycleUntilRelease", "opt_Macro_CycleUntilClick",
                                        "opt_Macro_CycleTimes"};

// Everything of the page a click could change while the keyboard belongs to the recording.
constexpr const char* kLockedWhileRecording[] = {
    "tre_Macro_GroupDisplay",      "list_Macro_KeyDisplay", "opt_Macro_CycleUntilRelease",
    "opt_Macro_CycleUntilClick",   "opt_Macro_CycleTimes",  "Edit_Macro_Time",
    "btn_Macro_InsertKey",         "btn_Macro_Delete",      "opt_Macro_AddMacGroup",
    "opt_Macro_AddNewMac",         "opt_Macro_importMacGroup", "opt_Macro_exportMacGroup",
};

}  // namespace

void MacroEditor::OnRecordButton(bool checked) {
    if (checked && !recorder_.recording()) {
        StartRecording();
    } else if (!checked && recorder_.recording()) {
        EndRecording(MacroRecorder::EndReason::RecordButton);
    }
}

void MacroEditor::StartRecording() {
    auto* record = dynamic_cast<skin::Option*>(Find("btn_Macro_Record"));
    const MacroRecord* macro = SelectedRecord();
    std::optional<int> loopOption;
    for (int i = 0; i < 3; ++i) {
        if (const auto* option = dynamic_cast<const skin::Option*>(Find(kLoopOptions[i]));
            option != nullptr && option->IsSelected()) {
            loopOption = i;
        }
    }
    const MacroRecorder::Started started =
        macro != nullptr && !macro->forbidView ? recorder_.StartRecording(group_, macro_, loopOption)
                                               : MacroRecorder::Started{};
    if (!started.ok) {
        if (record != nullptr) {
            record->Selected(false, false);
        }
        Message(texts_.selMacro);
        return;
    }
    if (auto* option = dynamic_cast<skin::Option*>(Find(kLoopOptions[started.loopOption]))) {
        option->Selected(true, false);
    }
    if (started.resetRepeatCount) {
        SetText("Edit_Macro_Time", "1");
    }
    if (auto* list = dynamic_cast<skin::List*>(Find("list_Macro_KeyDisplay"))) {
        list->RemoveAll();
    }
    SetVisible("lab_Macro_ListHint", false);
    SetPageLocked(true);
    SetText("lab_Macro_RecordStatus", texts_.macroRecord);
    SetVisible("lab_Macro_RecordStatus", true);
    FocusSink();
}

void MacroEditor::OnKey(int message, int virtualKey, int scanCode, bool autoRepeat) {
    if (!recorder_.recording() || autoRepeat) {
        return;  // a held key's repeats are not presses of their own
    }
    const std::string status = recorder_.RecordEvent(message, virtualKey, scanCode);
    if (status.empty() || status == MacroRecorder::kError) {
        return;
    }
    if (status == MacroRecorder::kOver) {
        EndRecording(MacroRecorder::EndReason::Over);
        Message(texts_.recordWarn);
        return;
    }
    ShowRecordedItem(status);
}

// The new item gets its row; the row before it gets the delay measured up to this key.
void MacroEditor::ShowRecordedItem(const std::string& status) {
    auto* list = dynamic_cast<skin::List*>(Find("list_Macro_KeyDisplay"));
    const int index = recorder_.recordCount() - 1;
    if (list == nullptr || index < 0) {
        return;
    }
    if (index > 0) {
        if (skin::Control* previous = list->GetItemAt(index - 1)) {
            if (skin::Control* delay = FindIn(*previous, "delay")) {
                delay->SetText(std::to_string(store_.workingMacro().block.macDly[static_cast<size_t>(index - 1)]) +
                               " ms");
            }
        }
    }
    list->Add(MakeRow(index));
    list->EnsureVisible(index);
    const int bytes = EstimatedImageSize(store_.workingMacro().block, recorder_.recordCount());
    SetText("lab_Macro_RecordStatus", texts_.macroRecord + "  " + status + "  \u00B7  " + std::to_string(bytes) +
                                          " / 512 B");
}

void MacroEditor::EndRecording(MacroRecorder::EndReason reason) {
    const MacroRecorder::Ended ended = recorder_.EndRecording(reason);
    SetPageLocked(false);
    SetVisible("lab_Macro_RecordStatus", false);
    if (ended.uncheckRecordButton) {
        if (auto* record = dynamic_cast<skin::Option*>(Find("btn_Macro_Record"))) {
            record->Selected(false, false);
        }
    }
    Report(ended.saved);
    if (ended.markToSave) {
        MarkToSave();
    }
    Select(group_, macro_);
}

void MacroEditor::StopRecording() {
    if (recorder_.recording()) {
        EndRecording(MacroRecorder::EndReason::Disconnect);
    }
}

void MacroEditor::SetPageLocked(bool locked) {
    for (const char* name : kLockedWhileRecording) {
        SetEnabled(name, !locked);
    }
}

}  // namespace mousecfg::macroui
