// One send pass of the apply worker: the marked reports in their fixed order, each accepted report
// followed by a pause so the mouse can store it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "device/apply_diff.h"
#include "profile/profile_record.h"

namespace t30 {

constexpr unsigned kReportPauseMs = 400;

// Where reports go: the connected driver library.
class FeatureSink {
  public:
    virtual ~FeatureSink() = default;
    // True when the device took the report.
    virtual bool SetFeature(const uint8_t* data, std::size_t size) = 0;
};

class Sleeper {
  public:
    virtual ~Sleeper() = default;
    virtual void SleepMs(unsigned ms) = 0;
};

// What one pass sends: the current profile and the flags as they were when the apply was posted,
// so the user can keep editing while the reports go out.
struct SendPass {
    ProfileRecord profile;
    DirtyFlags flags;
};

bool sendDpiReport(const ProfileRecord& profile, FeatureSink& sink, Sleeper& sleeper);
bool sendLightingReport(const ProfileRecord& profile, FeatureSink& sink, Sleeper& sleeper);
bool sendRateReport(const ProfileRecord& profile, FeatureSink& sink, Sleeper& sleeper);
void sendMacroReports(const ProfileRecord& profile, FeatureSink& sink, Sleeper& sleeper);
bool sendButtonMapReport(const ProfileRecord& profile, FeatureSink& sink, Sleeper& sleeper);

// 0x04, 0x05, 0x06, the 0x09 reports in slot order, then 0x08: whichever the flags mark.
void RunSendPass(const SendPass& pass, FeatureSink& sink, Sleeper& sleeper);

}  // namespace t30
