#include "ui/page_logic/dpi_stages.h"

#include <algorithm>
#include <string>

#include "base/wide_text.h"

namespace t30 {

std::u16string DpiText(int value) {
    const std::string digits = std::to_string(value * kDpiStep);
    return Widen(digits);
}

std::optional<DpiStageMessage> DecodeDpiStageMessage(uint64_t wParam, int64_t lParam) {
    const int64_t stage = lParam - kDpiWindowIdFirst;
    if (stage < 0 || stage >= kDpiStageCount) {
        return std::nullopt;
    }
    const auto kind = static_cast<uint16_t>((wParam >> 16) & 0xFFFFu);
    if (kind < uint16_t(DpiStageChange::kEnabled) || kind > uint16_t(DpiStageChange::kSelected)) {
        return std::nullopt;
    }
    return DpiStageMessage{static_cast<int>(stage), static_cast<DpiStageChange>(kind),
                           static_cast<int>(wParam & 0xFFFFu)};
}

DpiStageUpdate ApplyDpiStageMessage(ProfileRecord& profile, uint64_t wParam, int64_t lParam) {
    const std::optional<DpiStageMessage> message = DecodeDpiStageMessage(wParam, lParam);
    if (!message) {
        return DpiStageUpdate::kIgnored;
    }
    const int k = message->stage;
    switch (message->kind) {
        case DpiStageChange::kEnabled:
            // The window keeps the current stage's box disabled; a stray message must not leave
            // the mouse without a usable current stage either.
            if (message->value == 0 && profile.dpiStage == k) {
                return DpiStageUpdate::kIgnored;
            }
            profile.dpiStageEnabled[k] = message->value != 0 ? 1 : 0;
            return DpiStageUpdate::kStored;
        case DpiStageChange::kValue:
            profile.dpiValues[k] = std::clamp(message->value, kDpiValueMin, kDpiValueMax);
            return DpiStageUpdate::kStored;
        case DpiStageChange::kSelected:
            profile.dpiStage = k;
            return DpiStageUpdate::kCurrentChanged;
    }
    return DpiStageUpdate::kIgnored;
}

uint32_t DpiStageModel::OnSelectorClicked() const {
    return DpiStageParam(DpiStageChange::kSelected, current_ ? 1 : 0);
}

uint32_t DpiStageModel::OnEnableBoxClicked(bool checked) {
    enabled_ = checked;
    return DpiStageParam(DpiStageChange::kEnabled, checked ? 1 : 0);
}

std::optional<uint32_t> DpiStageModel::OnSliderMoved(int position, int senderId) {
    if (senderId != kDpiSliderId || position == value_) {
        return std::nullopt;
    }
    value_ = position;
    return DpiStageParam(DpiStageChange::kValue, position);
}

}  // namespace t30
