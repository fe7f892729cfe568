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
    if (!slot.tried) {
        slot.tried = true;
        if (!slot.path.empty()) {
            slot.size = LoadSkinPicture(slot.path, slot.picture);
        }
    }
    return slot.picture.Get();
}

SIZE StatePictures::Size(SkinState state) {
    Get(state);
    return SlotOf(state).size;
}

void StatePictures::Release() {
    for (Slot& slot : slots_) {
        if (!slot.path.empty()) {
            slot.picture.Reset();
            slot.size = SIZE{0, 0};
            slot.tried = false;
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

HBITMAP SkinPart::Picture(SkinState state) const {
    return pictures_ ? pictures_->Get(from_[Index(state)]) : nullptr;
}

bool SkinPart::Has(SkinState state) const {
    return Picture(state) != nullptr;
}

bool SkinPart::Draw(HDC dc, SkinState state, int x, int y) const {
    HBITMAP picture = Picture(state);
    if (picture == nullptr) {
        return false;
    }
    const SIZE part = Size();
    const SIZE whole = pictures_->Size(from_[Index(state)]);
    if (rect_.left < 0 || rect_.top < 0 || rect_.right > whole.cx || rect_.bottom > whole.cy) {
        PatBlt(dc, x, y, part.cx, part.cy, BLACKNESS);
    }
    MemoryDC source(CreateCompatibleDC(dc));
    SelectGuard keep(source.Get(), picture);
    if (!keep.Ok()) {
        return false;
    }
    BitBlt(dc, x, y, part.cx, part.cy, source.Get(), rect_.left, rect_.top, SRCCOPY);
    return true;
}

}  // namespace t30
