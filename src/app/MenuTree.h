#pragma once
// The frame's menu tree, in pre-order, with each item's name and the caption
// of the form description. Items of depth 1 to 4 are numbered in this order
// for the caption lookup; depth-5 items carry no number.
#include <span>

namespace tam32 {

struct TMenuItemDef {
    const char* Name;
    const char* Caption;
    int Depth;
};

std::span<const TMenuItemDef> MenuTree();

}  // namespace tam32
