#include "lang/messagebox.h"

#include <cstdio>
#include <string>
#include <utility>

namespace lang {
namespace {

int defaultBox(std::string_view text, std::string_view caption, unsigned flags)
{
    std::fprintf(stderr, "[%.*s] %.*s\n", int(caption.size()), caption.data(), int(text.size()), text.data());
    switch (flags & MbButtonMask) {
    case MbYesNo:
    case MbYesNoCancel:
        return IdYes;
    default:
        return IdOk;
    }
}

MessageBoxHook& hook()
{
    static MessageBoxHook current = defaultBox;
    return current;
}

}  // namespace

MessageBoxHook setMessageBoxHook(MessageBoxHook newHook)
{
    if (!newHook)
        newHook = defaultBox;
    return std::exchange(hook(), std::move(newHook));
}

int showMessageBox(std::string_view text, std::string_view caption, unsigned flags)
{
    return hook()(text, caption, flags);
}

int showError(std::string_view text, unsigned flags)
{
    return showMessageBox(text, "Error", flags | MbIconError);
}

}  // namespace lang
