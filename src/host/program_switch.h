// Binding a profile to a program and switching to that profile when the program comes to the
// foreground. Finding the foreground program and making a profile current are platform and
// main-window work; they reach this logic through two small interfaces.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "profile/profile_store.h"

namespace t30 {

// Without leading and trailing white space (space, tab, line breaks).
std::u16string_view TrimWhite(std::u16string_view text);

// The file name with its extension: whatever follows the last '\', '/' or drive colon.
std::u16string_view ProgramFileName(std::u16string_view path);

// Equal without regard to case, folding the letters of Latin, Greek and Cyrillic scripts the way
// file names compare on Windows.
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

// The text of the main window's program label for a profile: its program's file name and
// extension, empty when unbound.
std::u16string ProgramLabel(const ProfileRecord& profile);

// The first of the five profiles bound to `ExecutableName` (a file name with extension), or -1.
// A path that is empty or only white space binds nothing.
int FindProfileForProgram(const ProfileBlock& block, std::u16string_view executableName);

// Binds the current edited profile to the program at `path`. A path that does not fit the
// profile's 499 characters is refused (false, binding unchanged) rather than cut into a path of
// some other file.
bool chooseProgram(ProfileStore& store, std::u16string_view path);
// Unbinds the current edited profile.
void clearProgram(ProfileStore& store);

class ForegroundProgram {
  public:
    virtual ~ForegroundProgram() = default;
    // File name and extension of the executable that owns the foreground window; nothing when
    // there is no foreground window or its process cannot be found.
    virtual std::optional<std::u16string> ExecutableName() = 0;
};

class ProfileActivator {
  public:
    virtual ~ProfileActivator() = default;
    // Makes `index` the current profile of the edited block, refreshes the main window and its
    // pages, and runs a full apply.
    virtual void activateProfile(int index) = 0;
};

// One tick of the switching timer. Returns the profile it switched to, or -1 when nothing
// happened (no foreground program, no bound profile, the bound profile already current, or a
// macro being recorded: switching then would cut the recording short, so the first tick after it
// ends switches instead).
int checkForegroundProgram(const ProfileStore& store, ForegroundProgram& foreground,
                           ProfileActivator& activator, bool recording = false);

}  // namespace t30
