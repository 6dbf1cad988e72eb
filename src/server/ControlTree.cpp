// IRamvel members that build, edit, walk and query the tree: each one is served by TMyRamvel.
#include "server/ControlObject.h"
#include "server/ControlOut.h"
#include "server/ErrorBoundary.h"

namespace ramvel::server {

HRESULT RamvelControl::AddNodes(BSTR NodeParm) {
    try {
        Control().AddNodes(TextView(NodeParm));
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::GoToNode(LONG Index, BSTR* Value) {
    try {
        BSTR& out = OutText(Value);
        SetText(out, Control().GoToNode(Index));
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::AddAfterNode(LONG Node, BSTR NodeParm, BSTR* Value) {
    try {
        BSTR& out = OutText(Value);
        SetText(out, Control().AddAfterNode(Node, TextView(NodeParm)));
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::Refresh() {
    try {
        Control().Refresh();
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::Clear() {
    try {
        Control().Clear();
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::GotohNode(LONG hNode, BSTR* Value) {
    try {
        BSTR& out = OutText(Value);
        SetText(out, Control().GotohNode(hNode));
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::GethSelectedNode(LONG* Value) {
    try {
        OutParam<LONG>(Value, 0) = Control().GethSelectedNode();
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::DeleteNode(LONG NodeNumber) {
    try {
        Control().DeleteNode(NodeNumber);
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::ChangeNode(LONG NodeNumber, BSTR Nodevalue) {
    try {
        Control().ChangeNode(NodeNumber, TextView(Nodevalue));
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::FirstChild(LONG hNode, LONG* Value) {
    try {
        OutParam<LONG>(Value, 0) = Control().FirstChild(hNode);
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::GethNode(LONG hNode, BSTR* Value) {
    try {
        BSTR& out = OutText(Value);
        SetText(out, Control().GethNode(hNode));
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::LastChild(LONG hNode, LONG* Value) {
    try {
        OutParam<LONG>(Value, 0) = Control().LastChild(hNode);
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::NextSibling(LONG hNode, LONG* Value) {
    try {
        OutParam<LONG>(Value, 0) = Control().NextSibling(hNode);
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::ChildrenNumber(LONG hNode, LONG* Value) {
    try {
        OutParam<LONG>(Value, 0) = Control().ChildrenNumber(hNode);
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::GetNode(LONG hNode, BSTR* Value) {
    try {
        BSTR& out = OutText(Value);
        SetText(out, Control().GetNode(hNode));
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::DeleteHNode(LONG hNode) {
    try {
        Control().DeleteHNode(hNode);
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::GetSelectedNode(BSTR* Value) {
    try {
        BSTR& out = OutText(Value);
        SetText(out, Control().GetSelectedNode());
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_Expanded(LONG hNode, VARIANT_BOOL* nodeStatus) {
    try {
        OutParam<VARIANT_BOOL>(nodeStatus, VARIANT_FALSE) = ToVariantBool(Control().GetExpanded(hNode));
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_Expanded(LONG hNode, VARIANT_BOOL Value) {
    try {
        Control().SetExpanded(hNode, Value != 0);
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::get_TreeRefresh(VARIANT_BOOL* Value) {
    try {
        OutParam<VARIANT_BOOL>(Value, VARIANT_FALSE) = ToVariantBool(Control().GetTreeRefresh());
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::put_TreeRefresh(VARIANT_BOOL Value) {
    try {
        Control().SetTreeRefresh(Value != 0);
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::getParent(LONG hNode, BSTR* Value) {
    try {
        BSTR& out = OutText(Value);
        SetText(out, Control().getParent(hNode));
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::storeHNode(LONG hNode) {
    try {
        Control().storeHNode(hNode);
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

HRESULT RamvelControl::AddAfterCurrentNode(BSTR NodeParm) {
    try {
        Control().AddAfterCurrentNode(TextView(NodeParm));
        return S_OK;
    } catch (...) {
        return ToHResult();
    }
}

}  // namespace ramvel::server
