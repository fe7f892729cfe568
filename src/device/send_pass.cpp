#include "device/send_pass.h"

#include "device/feature_reports.h"

namespace t30 {
namespace {

template <std::size_t N>
bool Send(const std::array<uint8_t, N>& report, FeatureSink& sink, Sleeper& sleeper) {
    // A refused report is skipped without a pause; the pass goes on.
    if (!sink.SetFeature(report.data(), report.size())) {
        return false;
    }
    sleeper.SleepMs(kReportPauseMs);
    return true;
}

}  // namespace

bool sendDpiReport(const ProfileRecord& profile, FeatureSink& sink, Sleeper& sleeper) {
    return Send(BuildDpiReport(profile), sink, sleeper);
}

bool sendLightingReport(const ProfileRecord& profile, FeatureSink& sink, Sleeper& sleeper) {
    return Send(BuildLightingReport(profile), sink, sleeper);
}

bool sendRateReport(const ProfileRecord& profile, FeatureSink& sink, Sleeper& sleeper) {
    return Send(BuildRateReport(profile), sink, sleeper);
}

void sendMacroReports(const ProfileRecord& profile, FeatureSink& sink, Sleeper& sleeper) {
    for (int s = 0; s < kButtonSlotCount; ++s) {
        if (CarriesMacro(profile.buttons[s].functionType)) {
            Send(BuildMacroReport(profile.buttons[s], s), sink, sleeper);
        }
    }
}

bool sendButtonMapReport(const ProfileRecord& profile, FeatureSink& sink, Sleeper& sleeper) {
    return Send(BuildButtonMapReport(profile), sink, sleeper);
}

void RunSendPass(const SendPass& pass, FeatureSink& sink, Sleeper& sleeper) {
    if (pass.flags.dpi) {
        sendDpiReport(pass.profile, sink, sleeper);
    }
    if (pass.flags.lighting) {
        sendLightingReport(pass.profile, sink, sleeper);
    }
    if (pass.flags.rate) {
        sendRateReport(pass.profile, sink, sleeper);
    }
    if (pass.flags.buttons) {
        sendMacroReports(pass.profile, sink, sleeper);
        sendButtonMapReport(pass.profile, sink, sleeper);
    }
}

}  // namespace t30
