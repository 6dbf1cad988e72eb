// IRamvel members that build, edit, walk and query the tree: each one is served by TMyRamvel.
#include "server/ControlObject.h"
#include "server/ControlOut.h"
#include "server/ErrorBoundary.h"

namespace ramvel::server {

HRESULT RamvelControl::AddNodes(BSTR NodeParm) { return Member([&] { Control().AddNodes(TextView(NodeParm)); }); }

HRESULT RamvelControl::GoToNode(LONG Index, BSTR* Value) {
    return Member([&] {
        BSTR& out = OutText(Value);
        SetText(out, Control().GoToNode(Index));
    });
}

HRESULT RamvelControl::AddAfterNode(LONG Node, BSTR NodeParm, BSTR* Value) {
    return Member([&] {
        BSTR& out = OutText(Value);
        SetText(out, Control().AddAfterNode(Node, TextView(NodeParm)));
    });
}

HRESULT RamvelControl::Refresh() { return Member([&] { Control().Refresh(); }); }

HRESULT RamvelControl::Clear() { return Member([&] { Control().Clear(); }); }

HRESULT RamvelControl::GotohNode(LONG hNode, BSTR* Value) {
    return Member([&] {
        BSTR& out = OutText(Value);
        SetText(out, Control().GotohNode(hNode));
    });
}

HRESULT RamvelControl::GethSelectedNode(LONG* Value) {
    return Member([&] {
        LONG& out = OutParam<LONG>(Value, 0);
        out = Control().GethSelectedNode();
    });
}

HRESULT RamvelControl::DeleteNode(LONG NodeNumber) { return Member([&] { Control().DeleteNode(NodeNumber); }); }

HRESULT RamvelControl::ChangeNode(LONG NodeNumber, BSTR Nodevalue) {
    return Member([&] { Control().ChangeNode(NodeNumber, TextView(Nodevalue)); });
}

HRESULT RamvelControl::FirstChild(LONG hNode, LONG* Value) {
    return Member([&] {
        LONG& out = OutParam<LONG>(Value, 0);
        out = Control().FirstChild(hNode);
    });
}

HRESULT RamvelControl::GethNode(LONG hNode, BSTR* Value) {
    return Member([&] {
        BSTR& out = OutText(Value);
        SetText(out, Control().GethNode(hNode));
    });
}

HRESULT RamvelControl::LastChild(LONG hNode, LONG* Value) {
    return Member([&] {
        LONG& out = OutParam<LONG>(Value, 0);
        out = Control().LastChild(hNode);
    });
}

HRESULT RamvelControl::NextSibling(LONG hNode, LONG* Value) {
    return Member([&] {
        LONG& out = OutParam<LONG>(Value, 0);
        out = Control().NextSibling(hNode);
    });
}

HRESULT RamvelControl::ChildrenNumber(LONG hNode, LONG* Value) {
    return Member([&] {
        LONG& out = OutParam<LONG>(Value, 0);
        out = Control().ChildrenNumber(hNode);
    });
}

HRESULT RamvelControl::GetNode(LONG hNode, BSTR* Value) {
    return Member([&] {
        BSTR& out = OutText(Value);
        SetText(out, Control().GetNode(hNode));
    });
}

HRESULT RamvelControl::DeleteHNode(LONG hNode) { return Member([&] { Control().DeleteHNode(hNode); }); }

HRESULT RamvelControl::GetSelectedNode(BSTR* Value) {
    return Member([&] {
        BSTR& out = OutText(Value);
        SetText(out, Control().GetSelectedNode());
    });
}

HRESULT RamvelControl::get_Expanded(LONG hNode, VARIANT_BOOL* nodeStatus) {
    return Member([&] {
        VARIANT_BOOL& out = OutParam<VARIANT_BOOL>(nodeStatus, VARIANT_FALSE);
        out = ToVariantBool(Control().GetExpanded(hNode));
    });
}

HRESULT RamvelControl::put_Expanded(LONG hNode, VARIANT_BOOL Value) {
    return Member([&] { Control().SetExpanded(hNode, Value != 0); });
}

HRESULT RamvelControl::get_TreeRefresh(VARIANT_BOOL* Value) {
    return Member([&] {
        VARIANT_BOOL& out = OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE);
        out = ToVariantBool(Control().GetTreeRefresh());
    });
}

HRESULT RamvelControl::put_TreeRefresh(VARIANT_BOOL Value) {
    return Member([&] { Control().SetTreeRefresh(Value != 0); });
}

HRESULT RamvelControl::getParent(LONG hNode, BSTR* Value) {
    return Member([&] {
        BSTR& out = OutText(Value);
        SetText(out, Control().getParent(hNode));
    });
}

HRESULT RamvelControl::storeHNode(LONG hNode) { return Member([&] { Control().storeHNode(hNode); }); }

HRESULT RamvelControl::AddAfterCurrentNode(BSTR NodeParm) {
    return Member([&] { Control().AddAfterCurrentNode(TextView(NodeParm)); });
}

}  // namespace ramvel::server
