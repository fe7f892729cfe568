// The state pictures of a skinned window, held only while they are drawn.
//
// A skinned window and all its controls share one StatePictures; each control keeps a SkinPart
// (its rectangle of the whole-window pictures) instead of cut-out copies of its own. A picture
// read from a file is decoded the first time something draws that state, and ReleaseAll lets go
// of every such picture in the process: the main window calls it when it hides, so the program
// waiting in the notification area holds no picture at all.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "ui/framework/gdi.h"

namespace t30 {

enum class SkinState { kNormal = 0, kOver = 1, kDown = 2, kDisable = 3 };

class StatePictures {
  public:
    // Pictures read from these files, in SkinState order; an empty path: no picture.
    static std::shared_ptr<StatePictures> FromFiles(std::array<std::wstring, 4> paths);
    // One picture file for every state (a picture window).
    static std::shared_ptr<StatePictures> FromFile(const std::wstring& path);
    // Copies of pictures the caller keeps; they cannot be made again, so they stay until the set
    // goes.
    static std::shared_ptr<StatePictures> Copying(HBITMAP normal, HBITMAP over, HBITMAP down,
                                                  HBITMAP disable);

    ~StatePictures();
    StatePictures(const StatePictures&) = delete;
    StatePictures& operator=(const StatePictures&) = delete;

    // The picture of `state`, decoded on first use; nullptr when there is none or it cannot be
    // read (which is not tried again until the pictures are released).
    HBITMAP Get(SkinState state);
    SIZE Size(SkinState state);
    // Draws `rect` of the picture of `state` at (x, y) of `dc`, black where the rectangle reaches
    // past the picture; false, and nothing drawn, when that state has no picture. A state other
    // than Normal read from a file of its own keeps only the rectangles drawn from it: its whole
    // picture is let go once the painting in progress is over.
    bool DrawPart(HDC dc, SkinState state, const RECT& rect, int x, int y);
    // The state has a picture.
    bool Has(SkinState state);
    // Lets go of every picture that can be read again from its file.
    void Release();
    // Release for every set of the process.
    static void ReleaseAll();

  private:
    StatePictures();

    struct Cut {
        RECT rect;
        Bitmap picture;
    };
    struct Slot {
        std::wstring path;
        Bitmap picture;
        SIZE size{0, 0};
        bool tried = false;
        std::vector<Cut> cuts;  // drawn rectangles, for a state held in parts
    };
    Slot& SlotOf(SkinState state);
    bool HeldInParts(const Slot& slot) const;
    // Lets go of the whole pictures of the states held in parts, in every set of the process.
    static void ReleaseWholeParts();
    static void CALLBACK AfterPainting(HWND, UINT, UINT_PTR timer, DWORD);
    static inline UINT_PTR afterPainting_ = 0;  // the window thread's timer, while one is set

    std::array<Slot, 4> slots_;
};

// A control's rectangle of its window's state pictures.
class SkinPart {
  public:
    SkinPart() = default;
    SkinPart(std::shared_ptr<StatePictures> pictures, const RECT& rect)
        : pictures_(std::move(pictures)), rect_(rect) {}

    // The part at `rect` of this one, in this part's coordinates.
    SkinPart Inner(const RECT& rect) const;
    // This part with `state` drawn from the picture of `from`.
    SkinPart WithState(SkinState state, SkinState from) const;

    bool Has(SkinState state) const;
    SIZE Size() const { return SIZE{rect_.right - rect_.left, rect_.bottom - rect_.top}; }
    // Copies the part of the picture of `state` to (x, y) of `dc`, black where the rectangle
    // reaches past the picture; false, and nothing drawn, when that state has no picture.
    bool Draw(HDC dc, SkinState state, int x = 0, int y = 0) const;

  private:
    std::shared_ptr<StatePictures> pictures_;
    RECT rect_{0, 0, 0, 0};
    std::array<SkinState, 4> from_{SkinState::kNormal, SkinState::kOver, SkinState::kDown,
                                   SkinState::kDisable};
};

}  // namespace t30
