// The recorder's write-back answered by the macro library: the working copy replaces the current
// macro's events, the profiles' button slots take the new macro, and the library file is saved.
#pragma once

#include <filesystem>
#include <functional>
#include <utility>

#include "host/macro_recorder.h"
#include "macro/macro_library.h"
#include "profile/profile_store.h"

namespace t30 {

class LibraryWriteBack final : public MacroWriteBack {
  public:
    // `currentMacro` gives the library index of the editor's current macro, -1 for none.
    LibraryWriteBack(MacroLibrary& library, ProfileStore& store, std::filesystem::path appFolder,
                     std::function<int()> currentMacro)
        : library_(library),
          store_(store),
          appFolder_(std::move(appFolder)),
          currentMacro_(std::move(currentMacro)) {}

    void SaveBack(const WorkingMacro& working) override;

  private:
    MacroLibrary& library_;
    ProfileStore& store_;
    std::filesystem::path appFolder_;
    std::function<int()> currentMacro_;
};

}  // namespace t30
