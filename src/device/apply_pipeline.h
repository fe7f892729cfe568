// The one road from edits to the mouse, the desktop and the disk. The window side (cursor,
// capture, buttons, the worker queue, the settings file) sits behind ApplyHost so the sequence
// can be checked without a window.
#pragma once

#include <memory>

#include "device/apply_diff.h"
#include "device/send_pass.h"
#include "profile/profile_store.h"

namespace t30 {

class ApplyHost {
  public:
    virtual ~ApplyHost() = default;
    // Capture the mouse, wait cursor, OK and Apply disabled and redrawn.
    virtual void BeginBusy() = 0;
    // OK and Apply enabled and redrawn, arrow cursor, capture released.
    virtual void EndBusy() = 0;
    virtual bool DeviceConnected() const = 0;
    // Applies whatever pointer settings differ between the two blocks to the desktop.
    virtual void ApplyPointerSettings(const ProfileBlock& applied, const ProfileBlock& edited) = 0;
    virtual void PostSendPass(std::unique_ptr<SendPass> pass) = 0;
    virtual void SaveSettings(const ProfileBlock& block) = 0;
};

class ApplyPipeline {
  public:
    ApplyPipeline(ProfileStore& store, ApplyHost& host) : store_(store), host_(host) {}

    // The next apply sends everything without comparing (start-up, device arrival, profile
    // import, restore defaults, automatic switch).
    void RequestFullApply() { forceFullApply_ = true; }
    bool FullApplyPending() const { return forceFullApply_; }

    void applyProfiles();
    // The worker finished a pass.
    void OnSendPassFinished() { host_.EndBusy(); }

  private:
    ProfileStore& store_;
    ApplyHost& host_;
    // Taken over by the pass that gets posted; stays pending while no device is connected, so
    // an arrival in the middle of a pass is never lost.
    bool forceFullApply_ = true;
};

}  // namespace t30
