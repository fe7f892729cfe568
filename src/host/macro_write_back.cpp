#include "host/macro_write_back.h"

#include <algorithm>

namespace t30 {

void LibraryWriteBack::SaveBack(const WorkingMacro& working) {
    const int current = currentMacro_ ? currentMacro_() : -1;
    if (current < 0 || std::size_t(current) >= library_.size()) {
        return;
    }
    MacroRecord& record = library_[std::size_t(current)];
    std::copy(working.events.begin(), working.events.end(), record.events);
    record.eventCount = std::clamp(working.count, 0, kMaxMacroEvents);
    RefreshSlotsFromLibrary(library_, store_.edited());
    SaveMacroLibrary(library_, appFolder_);
}

}  // namespace t30
