#include "ui/skin/state_pictures_win32.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "ui/skin/skin_win32.h"

namespace t30 {
namespace {

// Every live set, so that the main window can empty them all when it hides.
struct Registry {
    std::mutex lock;
    std::vector<StatePictures*> sets;
};
Registry& Live() {
    static Registry registry;
    return registry;
}

std::size_t Index(SkinState state) {
    return static_cast<std::size_t>(state);
}

}  // namespace

StatePictures::StatePictures() {
    Registry& live = Live();
    const std::lock_guard<std::mutex> hold(live.lock);
    live.sets.push_back(this);
}

StatePictures::~StatePictures() {
    Registry& live = Live();
    const std::lock_guard<std::mutex> hold(live.lock);
    live.sets.erase(std::remove(live.sets.begin(), live.sets.end(), this), live.sets.end());
}

std::shared_ptr<StatePictures> StatePictures::FromFiles(std::array<std::wstring, 4> paths) {
    std::shared_ptr<StatePictures> set(new StatePictures());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        set->slots_[i].path = std::move(paths[i]);
    }
    return set;
}

std::shared_ptr<StatePictures> StatePictures::FromFile(const std::wstring& path) {
    return FromFiles({path, path, path, path});
}

std::shared_ptr<StatePictures> StatePictures::Copying(HBITMAP normal, HBITMAP over, HBITMAP down,
                                                      HBITMAP disable) {
    std::shared_ptr<StatePictures> set(new StatePictures());
    const HBITMAP sources[] = {normal, over, down, disable};
    for (std::size_t i = 0; i < set->slots_.size(); ++i) {
        Slot& slot = set->slots_[i];
        slot.tried = true;
        if (sources[i] != nullptr) {
            slot.picture.Reset(static_cast<HBITMAP>(
                CopyImage(sources[i], IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
            slot.size = BitmapSize(slot.picture.Get());
        }
    }
    return set;
}

StatePictures::Slot& StatePictures::SlotOf(SkinState state) {
    Slot& slot = slots_[Index(state)];
    // States that name the same file share one decode.
    for (Slot& first : slots_) {
        if (!slot.path.empty() && first.path == slot.path) {
            return first;
        }
    }
    return slot;
}

HBITMAP StatePictures::Get(SkinState state) {
    Slot& slot = SlotOf(state);
    // A state held in parts whose whole picture was let go after painting is read again.
    const bool readAgain = slot.tried && !slot.picture && !slot.cuts.empty();
    if (!slot.tried || readAgain) {
        slot.tried = true;
        if (!slot.path.empty()) {
            slot.size = LoadSkinPicture(slot.path, slot.picture);
        }
    }
    return slot.picture.Get();
}

SIZE StatePictures::Size(SkinState state) {
    if (!SlotOf(state).tried) {
        Get(state);
    }
    return SlotOf(state).size;
}

void StatePictures::Release() {
    for (Slot& slot : slots_) {
        if (!slot.path.empty()) {
            slot.picture.Reset();
            slot.size = SIZE{0, 0};
            slot.tried = false;
            slot.cuts.clear();
        }
    }
}

bool StatePictures::HeldInParts(const Slot& slot) const {
    return &slot != &slots_[Index(SkinState::kNormal)] && !slot.path.empty();
}

bool StatePictures::Has(SkinState state) {
    Slot& slot = SlotOf(state);
    if (slot.tried && (slot.picture || !slot.cuts.empty())) {
        return true;
    }
    return Get(state) != nullptr;
}

bool StatePictures::DrawPart(HDC dc, SkinState state, const RECT& rect, int x, int y) {
    Slot& slot = SlotOf(state);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    // Black where the rectangle reaches past the picture, then the picture's part.
    const auto copy = [&](HDC target, int tx, int ty) {
        const SIZE whole = slot.size;
        if (rect.left < 0 || rect.top < 0 || rect.right > whole.cx || rect.bottom > whole.cy) {
            PatBlt(target, tx, ty, width, height, BLACKNESS);
        }
        MemoryDC source(CreateCompatibleDC(target));
        SelectGuard keep(source.Get(), slot.picture.Get());
        if (!keep.Ok()) {
            return false;
        }
        BitBlt(target, tx, ty, width, height, source.Get(), rect.left, rect.top, SRCCOPY);
        return true;
    };
    if (!HeldInParts(slot)) {
        return Get(state) != nullptr && copy(dc, x, y);
    }
    auto cut = std::find_if(slot.cuts.begin(), slot.cuts.end(),
                            [&](const Cut& c) { return EqualRect(&c.rect, &rect) != FALSE; });
    if (cut == slot.cuts.end()) {
        if (Get(state) == nullptr) {
            return false;
        }
        Bitmap part = MakeDibSection(width, height);
        MemoryDC partDc(CreateCompatibleDC(dc));
        SelectGuard keep(partDc.Get(), part.Get());
        if (!keep.Ok() || !copy(partDc.Get(), 0, 0)) {
            return false;
        }
        keep.Restore();
        slot.cuts.push_back(Cut{rect, std::move(part)});
        cut = slot.cuts.end() - 1;
        // Timer messages come after every pending paint: the whole picture serves all the
        // controls painting now, and goes once they are done.
        if (afterPainting_ == 0) {
            afterPainting_ = SetTimer(nullptr, 0, 0, &StatePictures::AfterPainting);
        }
    }
    MemoryDC source(CreateCompatibleDC(dc));
    SelectGuard keep(source.Get(), cut->picture.Get());
    if (!keep.Ok()) {
        return false;
    }
    BitBlt(dc, x, y, width, height, source.Get(), 0, 0, SRCCOPY);
    return true;
}

void CALLBACK StatePictures::AfterPainting(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    afterPainting_ = 0;
    ReleaseWholeParts();
}

void StatePictures::ReleaseWholeParts() {
    Registry& live = Live();
    const std::lock_guard<std::mutex> hold(live.lock);
    for (StatePictures* set : live.sets) {
        for (Slot& slot : set->slots_) {
            if (set->HeldInParts(slot)) {
                slot.picture.Reset();  // the size stays known; the cuts stay
            }
        }
    }
}

void StatePictures::ReleaseAll() {
    Registry& live = Live();
    const std::lock_guard<std::mutex> hold(live.lock);
    for (StatePictures* set : live.sets) {
        set->Release();
    }
}

SkinPart SkinPart::Inner(const RECT& rect) const {
    SkinPart inner = *this;
    inner.rect_ = RECT{rect_.left + rect.left, rect_.top + rect.top, rect_.left + rect.right,
                       rect_.top + rect.bottom};
    return inner;
}

SkinPart SkinPart::WithState(SkinState state, SkinState from) const {
    SkinPart changed = *this;
    changed.from_[Index(state)] = from_[Index(from)];
    return changed;
}

bool SkinPart::Has(SkinState state) const {
    return pictures_ && pictures_->Has(from_[Index(state)]);
}

bool SkinPart::Draw(HDC dc, SkinState state, int x, int y) const {
    return pictures_ && pictures_->DrawPart(dc, from_[Index(state)], rect_, x, y);
}

}  // namespace t30
