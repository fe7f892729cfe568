#include "keys/button_functions.h"

#include <algorithm>

#include "base/fixed_string.h"
#include "keys/key_combination.h"

namespace t30 {

const ButtonFunctionInfo* FindButtonFunction(int code) {
    for (const ButtonFunctionInfo& info : ButtonFunctionTable) {
        if (info.code == code) {
            return &info;
        }
    }
    return nullptr;
}

std::optional<uint16_t> ButtonFunctionLabelId(int code) {
    const ButtonFunctionInfo* info = FindButtonFunction(code);
    if (!info || (info->label.kind != FunctionLabelKind::kText &&
                  info->label.kind != FunctionLabelKind::kMacro)) {
        return std::nullopt;
    }
    return info->label.stringId;
}

ButtonFunctionType ButtonFunctionForCommand(int commandId) {
    for (const ButtonFunctionInfo& info : ButtonFunctionTable) {
        if (info.commandId != 0 && info.commandId == commandId) {
            return info.code;
        }
    }
    return kFunctionPrimaryClick;
}

std::optional<FixedKeys> FixedKeyCombination(int code) {
    const ButtonFunctionInfo* info = FindButtonFunction(code);
    if (!info || info->fixedKeys.usage == 0) {
        return std::nullopt;
    }
    return info->fixedKeys;
}

std::vector<FunctionMenuItem> FunctionMenuItems(uint16_t submenu) {
    std::vector<const ButtonFunctionInfo*> rows;
    for (const ButtonFunctionInfo& info : ButtonFunctionTable) {
        if (info.menu.position != 0 && info.menu.submenu == submenu) {
            rows.push_back(&info);
        }
    }
    std::sort(rows.begin(), rows.end(),
              [](const ButtonFunctionInfo* a, const ButtonFunctionInfo* b) {
                  return a->menu.position < b->menu.position;
              });
    std::vector<FunctionMenuItem> items;
    items.reserve(rows.size());
    for (const ButtonFunctionInfo* info : rows) {
        items.push_back(
            {info->commandId, info->menu.textId != 0 ? info->menu.textId : info->commandId});
    }
    return items;
}

std::u16string ButtonFunctionText(const ButtonSlot& slot, const KeyboardLayout& layout,
                                  const LanguageText& text) {
    const ButtonFunctionInfo* info = FindButtonFunction(slot.functionType);
    if (!info) {
        return {};
    }
    switch (info->label.kind) {
        case FunctionLabelKind::kNone:
            return {};
        case FunctionLabelKind::kText:
            return text(info->label.stringId);
        case FunctionLabelKind::kKeyCombination:
            // No combination chosen yet: no key to show.
            if (slot.eventCount == 0) {
                return {};
            }
            return FormatKeyCombination(slot.events[0].key, slot.events[0].action, layout);
        case FunctionLabelKind::kMacro:
            return text(info->label.stringId) + u"-" + std::u16string(FixedView(slot.macroName));
    }
    return {};
}

}  // namespace t30
