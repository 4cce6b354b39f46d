#pragma once

namespace mousecfg {

// Where recorded keys come from: the macro page connects it to a keyboard grab that keeps the keys from other
// programs while a recording runs and delivers each key event to MacroRecorder::RecordEvent on the
// user-interface thread.
class KeySource {
public:
    virtual ~KeySource() = default;
    // Starts delivering key events; calling it while capturing does nothing.
    virtual void StartCapture() = 0;
    virtual void StopCapture() = 0;
};

}  // namespace mousecfg
