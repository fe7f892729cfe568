#include "device/apply_pipeline.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/fixed_string.h"
#include "device/feature_reports.h"

namespace t30 {
namespace {

// Records the window actions in order, and the passes it was given.
class FakeHost : public ApplyHost {
  public:
    void BeginBusy() override { log.push_back("busy"); }
    void EndBusy() override { log.push_back("idle"); }
    bool DeviceConnected() const override { return connected; }
    void ApplyPointerSettings(const ProfileBlock& applied, const ProfileBlock& edited) override {
        log.push_back("pointer");
        pointerSawDifference = std::memcmp(&applied, &edited, sizeof applied) != 0;
    }
    void PostSendPass(std::unique_ptr<SendPass> pass) override {
        log.push_back("post");
        passes.push_back(std::move(pass));
    }
    void SaveSettings(const ProfileBlock& block) override {
        log.push_back("save");
        saved = std::make_unique<ProfileBlock>(block);
    }

    bool connected = true;
    bool pointerSawDifference = false;
    std::vector<std::string> log;
    std::vector<std::unique_ptr<SendPass>> passes;
    std::unique_ptr<ProfileBlock> saved;
};

class Apply : public ::testing::Test {
  protected:
    ProfileStore store;
    FakeHost host;
    ApplyPipeline pipeline{store, host};
};

using ::testing::ElementsAre;

TEST_F(Apply, FirstApplyIsFullAndLaterOnesSendOnlyWhatChanged) {
    pipeline.applyProfiles();
    ASSERT_EQ(host.passes.size(), 1u);
    EXPECT_EQ(host.passes[0]->flags, DirtyFlags::All());
    EXPECT_FALSE(pipeline.FullApplyPending());

    pipeline.applyProfiles();
    ASSERT_EQ(host.passes.size(), 2u);
    EXPECT_FALSE(host.passes[1]->flags.any()) << "nothing changed";

    store.current().lightColour = MakeColour(0, 0, 255);
    pipeline.applyProfiles();
    EXPECT_EQ(host.passes[2]->flags, (DirtyFlags{false, true, false, false}));

    pipeline.RequestFullApply();
    pipeline.applyProfiles();
    EXPECT_EQ(host.passes[3]->flags, DirtyFlags::All());
}

TEST_F(Apply, WithDeviceOrderIsPointerPostCopySaveAndTheWorkerEndsBusy) {
    store.current().pointerSpeed = 10;
    pipeline.applyProfiles();
    EXPECT_THAT(host.log, ElementsAre("busy", "pointer", "post", "save"));
    EXPECT_TRUE(host.pointerSawDifference) << "pointer settings compare before the copy";
    EXPECT_EQ(std::memcmp(&store.applied(), &store.edited(), sizeof(ProfileBlock)), 0);
    ASSERT_TRUE(host.saved);
    EXPECT_EQ(host.saved->profiles[0].pointerSpeed, 10);
    pipeline.OnSendPassFinished();
    EXPECT_EQ(host.log.back(), "idle");
}

TEST_F(Apply, WithoutDeviceNothingIsSentButTheBlockIsAppliedAndSaved) {
    host.connected = false;
    store.current().reportRate = 0;
    pipeline.applyProfiles();
    EXPECT_THAT(host.log, ElementsAre("busy", "save", "idle"));
    EXPECT_EQ(store.applied().profiles[0].reportRate, 0);
    EXPECT_TRUE(pipeline.FullApplyPending()) << "the request waits for a device";

    host.connected = true;
    pipeline.applyProfiles();
    ASSERT_EQ(host.passes.size(), 1u);
    EXPECT_EQ(host.passes[0]->flags, DirtyFlags::All());
}

TEST_F(Apply, PassIsASnapshotOfTheCurrentProfile) {
    pipeline.applyProfiles();
    store.SetCurrentIndex(3);
    store.current().reportRate = 1;
    pipeline.applyProfiles();
    ASSERT_EQ(host.passes.size(), 2u);
    EXPECT_EQ(host.passes[1]->flags, DirtyFlags::All()) << "index changed";
    EXPECT_EQ(host.passes[1]->profile.reportRate, 1);
    store.current().reportRate = 3;  // editing on while the pass goes out
    EXPECT_EQ(host.passes[1]->profile.reportRate, 1);
    EXPECT_EQ(host.passes[0]->profile.reportRate, 2);
}

TEST_F(Apply, ProgramPathAloneSendsNothingButIsSaved) {
    pipeline.applyProfiles();
    SetFixed(store.current().programPath, u"C:\\Games\\x.exe");
    pipeline.applyProfiles();
    EXPECT_FALSE(host.passes[1]->flags.any());
    EXPECT_EQ(FixedView(host.saved->profiles[0].programPath), u"C:\\Games\\x.exe");
}

}  // namespace
}  // namespace t30
