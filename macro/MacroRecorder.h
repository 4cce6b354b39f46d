#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Status.h"

namespace mousecfg {

class KeySource;
class MacroStore;
class TimeOfDayClock;

// Key messages as the key source delivers them.
namespace keymsg {
inline constexpr int kKeyDown = 256;
inline constexpr int kKeyUp = 257;
inline constexpr int kSysKeyDown = 260;
inline constexpr int kSysKeyUp = 261;
}  // namespace keymsg

// Records key presses and releases into the working macro of the macro store, with the real time between them
// as delays. User-interface thread only. The page shows what the results say; the recorder touches no control.
class MacroRecorder {
public:
    // The status texts of RecordEvent besides a key name.
    static constexpr const char* kError = "Error";  // auto-repeat, a release without its press, too many keys
    static constexpr const char* kOver = "Over";    // the macro is full: end the recording and warn

    enum class EndReason { RecordButton, Over, Disconnect };

    struct Started {
        bool ok = false;            // false: no macro selected, nothing started
        int loopOption = 2;         // the loop option to show selected (0 while held, 1 until clicked, 2 times)
        bool resetRepeatCount = false;  // the repeat count editor shows "1" and is enabled
    };

    struct Ended {
        bool markToSave = false;       // the macro is bound to buttons: show its "to save" mark, apply needed
        bool uncheckRecordButton = false;
        Status saved = Status::Ok();
    };

    MacroRecorder(MacroStore& store, TimeOfDayClock& clock, KeySource& keys)
        : store_(store), clock_(clock), keys_(keys) {}

    // Starts recording into macro m of group g, which becomes the working macro with no items. `loopOption` is
    // the selected loop option's index, nothing when none is selected.
    Started StartRecording(int g, int m, std::optional<int> loopOption);
    // Records one key event (message 256, 257, 260 or 261; scan code 0xE000 + code for extended keys). Returns
    // the key's name for a recorded event, kError or kOver, or an empty text when not recording.
    std::string RecordEvent(int message, int virtualKey, int scanCode);
    // Ends the recording, stores the macro with its loop mode and releases the key source.
    Ended EndRecording(EndReason reason);

    bool recording() const { return recording_; }
    int recordCount() const { return recordCount_; }

private:
    static constexpr size_t kMaxHeldKeys = 9;

    MacroStore& store_;
    TimeOfDayClock& clock_;
    KeySource& keys_;
    bool recording_ = false;
    int group_ = -1;
    int macro_ = -1;
    int recordCount_ = 0;
    std::vector<int> heldKeys_;
    std::pair<int, int> lastEvent_{-1, -1};  // scan code and message, kept from one recording to the next
    int64_t lastTime_ = 0;
};

}  // namespace mousecfg
