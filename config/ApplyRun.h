#pragma once

#include "config/ApplyJob.h"
#include "config/ImageWriter.h"
#include "device/CommandSet.h"

namespace mousecfg {

// One apply run over a session held for the whole run: decides from the job's mode, flags and the mouse's
// profile tags what to send, sends it, and returns what the user-interface thread must take over. Changes only
// the job (its document copy, description copy and image). Runs on the apply worker; tests call it directly.
//
// HID full run: reads the mouse's active profile and tags; when the tag of the current profile matches the saved
// one (and neither macrosChanged nor importPending is set) only a profile switch is written and the lighting
// mode, DPI level and report rate are read back; otherwise the profile is written in full (keys only after a
// macro change). Single run: the pending setting of the job's state, or every fire-key button after a fire value
// change. BLE: each write once; replies arrive later as messages, so the comparison uses the tags the BLE
// replies reported before; a mismatch turns macro bindings into defaults and writes in full. Every run that
// wrote ends with a new tag for the current profile (for all three after a macro change), written to the mouse.
// `observer` sees the progress of full writes.
ApplyOutcome RunApply(CommandSet::Session& session, ApplyJob& job, ImageWriter::StepObserver observer = {});

}  // namespace mousecfg
