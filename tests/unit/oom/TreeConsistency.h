#pragma once
// Whether a control's tree still holds together: a plain walk of its links against its count,
// its indexes, its handles, its node info texts, its text storage, its selection, its update
// state and the widget's own copy of the items.
#include <string>
#include <vector>

#include "MirroringTreeWidget.h"
#include "control/MyRamvel.h"

namespace ramvel::test {

// Reports each disagreement as a test failure, prefixed with `context`.
void ExpectConsistentTree(TMyRamvel& control, const MirroringTreeWidget& widget, const std::string& context);

// Every node's info text in index order: the tree as the host reads it.
std::vector<std::u16string> NodeInfos(TMyRamvel& control);

}  // namespace ramvel::test
