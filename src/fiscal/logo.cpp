#include "fiscal/logo.h"

namespace qov::fiscal {

GraphicLogo::GraphicLogo(Station& station) : st_(station) {}

bool GraphicLogo::otvori() {
    const char* frame = slot == 1 ? "N0" : slot == 2 ? "N1" : nullptr;
    if (frame == nullptr) {
        st_.dialogs.message(kNoSlot, kTitle, Icon::Information);
        return false;
    }
    if (st_.link.sendFrame(frame) != 0) {
        st_.dialogs.message(kLinkBad, kTitle, Icon::Information);
        return false;
    }
    return true;
}

LogoDocument::LogoDocument(Station& station) : st_(station) {}

void LogoDocument::open() {
    st_.state.CurrentForm = kFormName;
    const std::string path = st_.dialogs.openFile({"Open", {}, kFilter, {}});
    if (path.empty()) {
        return;
    }
    file_ = path;
    st_.state.LogoFilePath = path;
    caption_ = std::string(kCaption) + " - " + path;
}

void LogoDocument::posalji() {
    if (file_.empty()) {
        return;
    }
    st_.dialogs.setBusy(true);
    st_.state.LinkResult = st_.link.link().Invialogo(st_.state.LogoFilePath);
    closeRequested_ = true;
    st_.dialogs.setBusy(false);
}

}  // namespace qov::fiscal
