// Byte encoders of the feature reports that carry a profile to the mouse. Every report is built
// zero-filled at its exact length: byte 0 the report id, byte 1 the length, then the payload.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "profile/profile_record.h"

namespace t30 {

constexpr std::size_t kDpiReportSize = 34;
constexpr std::size_t kLightingReportSize = 9;
constexpr std::size_t kRateReportSize = 8;
constexpr std::size_t kButtonMapReportSize = 76;
constexpr std::size_t kMacroReportSize = 130;

constexpr uint8_t kDpiReportId = 0x04;
constexpr uint8_t kLightingReportId = 0x05;
constexpr uint8_t kRateReportId = 0x06;
constexpr uint8_t kButtonMapReportId = 0x08;
constexpr uint8_t kMacroReportId = 0x09;

// Long and trailing pauses together never take more than this many pairs, so 40 events fit.
constexpr int kMaxPausePairs = 10;
constexpr int kMaxMacroPairs = kMaxMacroEvents + kMaxPausePairs;

using DpiReport = std::array<uint8_t, kDpiReportSize>;
using LightingReport = std::array<uint8_t, kLightingReportSize>;
using RateReport = std::array<uint8_t, kRateReportSize>;
using ButtonMapReport = std::array<uint8_t, kButtonMapReportSize>;
using MacroReport = std::array<uint8_t, kMacroReportSize>;

DpiReport BuildDpiReport(const ProfileRecord& profile);
LightingReport BuildLightingReport(const ProfileRecord& profile);
RateReport BuildRateReport(const ProfileRecord& profile);
ButtonMapReport BuildButtonMapReport(const ProfileRecord& profile);

// Slots whose macro goes out as a report 0x09.
constexpr bool CarriesMacro(uint8_t functionType) {
    return functionType == 18 || functionType == 50;
}
// `slot` is the slot's position 0..23 in the profile.
MacroReport BuildMacroReport(const ButtonSlot& button, int slot);

}  // namespace t30
