#include "image/PxGraph.h"

#include "platform/Clipboard.h"

namespace tam32 {

void TPxGraphic::Assign(const TPersistent* Source) {
    auto* clipboard = dynamic_cast<const TClipboard*>(Source);
    if (clipboard == nullptr) {
        TGraphic::Assign(Source);
        return;
    }
    // Reading the clipboard changes its state (open count, handles it owns).
    auto& board = const_cast<TClipboard&>(*clipboard);
    board.Open();
    try {
        LoadFromClipboardFormat(ClipboardFormat(), board.GetAsHandle(ClipboardFormat()), nullptr);
    } catch (...) {
        board.Close();
        throw;
    }
    board.Close();
}

}  // namespace tam32
