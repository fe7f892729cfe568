#include "device/apply_pipeline.h"

namespace t30 {

void ApplyPipeline::applyProfiles() {
    host_.BeginBusy();
    const DirtyFlags flags =
        forceFullApply_ ? DirtyFlags::All() : diffProfiles(store_.applied(), store_.edited());

    const bool connected = host_.DeviceConnected();
    if (connected) {
        // Compares the same two blocks, so it must come before the copy below.
        host_.ApplyPointerSettings(store_.applied(), store_.edited());
        auto pass = std::make_unique<SendPass>();
        pass->profile = store_.current();
        pass->flags = flags;
        forceFullApply_ = false;
        host_.PostSendPass(std::move(pass));
    }
    store_.CopyEditedToApplied();
    host_.SaveSettings(store_.edited());
    if (!connected) {
        host_.EndBusy();
    }
}

}  // namespace t30
