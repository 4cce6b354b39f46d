#pragma once

#include <functional>
#include <string_view>

#include "config/DeviceImage.h"
#include "config/KeyFunction.h"
#include "device/CommandSet.h"

namespace mousecfg {

// One step of a full write: a request (type and subtype; for key assignments the page button) and how often it
// is sent.
struct WriteStep {
    int type = 0;
    int subtype = 0;
    int button = -1;  // type 4: the page button; type 5: the wheel position 16 or 17
    int times = 1;
};

// Fills the request block from a device image, one command of one profile at a time, and sends it. Used by the
// apply worker while it holds the session for the whole run.
class ImageWriter {
  public:
    // Called after every request sent by InitApply: requests done so far and the run's total.
    using StepObserver = std::function<void(int done, int total)>;

    // Everything must outlive the writer. `link` tells whether macro assignments are skipped (BLE).
    ImageWriter(CommandSet::Session& session, DeviceImage& image, const KeyFunctionSources& sources, LinkKind link);

    // Fills the request for `type` / `subtype` of `profile` (0..2) and sends it. Key assignments use the image's
    // editedButton/editedSlot; a macro assignment also sends the macro's data. Returns the write's result (1 sent,
    // 0 not, -1 a macro too long for the mouse); 0 for requests that send nothing (types 8 and others, a key slot
    // above 11 or without a slot).
    int WriteSetting(int type, int profile, int subtype = 0);
    // WriteSetting `times` times.
    void Repeat(int type, int profile, int subtype, int times);

    // The steps of a full write of `profile`, each repeated the image's repeatCount unless sent once.
    std::vector<WriteStep> FullWritePlan(int profile) const;
    // The full write of one profile (the plan above).
    void InitApply(int profile);

    // Reads lighting mode, DPI level and report rate into the image's read fields (-1 when a read fails).
    void ReadBackState(std::string_view modelName);

    void SetStepObserver(StepObserver observer) { observer_ = std::move(observer); }
    // Writes sent and writes that returned a failure since construction.
    int writes() const { return writes_; }
    int failedWrites() const { return failedWrites_; }
    // A fire key (code 102) was encoded since construction.
    bool fireKeyEncoded() const { return fireKeyEncoded_; }

  private:
    int WriteKey(int type, int profile);
    void FillDpiTable(DeviceRequest& r, size_t p) const;
    void FillLighting(DeviceRequest& r, size_t p) const;
    bool FillSystemSetting(DeviceRequest& r, int profile, int subtype) const;
    int Send();
    void ReadLighting();

    CommandSet::Session& session_;
    DeviceImage& image_;
    KeyFunctionSources sources_;
    LinkKind link_;
    StepObserver observer_;
    int writes_ = 0;
    int failedWrites_ = 0;
    bool fireKeyEncoded_ = false;
};

}  // namespace mousecfg
