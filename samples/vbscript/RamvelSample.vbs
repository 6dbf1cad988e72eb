' Ramvel from VBScript: build a small tree from node lines, walk it by index and by handle,
' read node info, change and delete nodes, and catch an error.
' Run it with the script host of the same bitness as the registered Ramvel.ocx:
'   cscript //nologo RamvelSample.vbs
' samples/vba/RamvelSample.bas makes the same calls from an Office UserForm.
Option Explicit

Dim SOH : SOH = Chr(1)   ' separates the three parts of a node info text
Dim TB : TB = Chr(9)     ' separates the fields of a node line

' Part n (0, 1 or 2) of a node info text: node index, handle, then the six detail fields.
' (Split goes into a variable first: some VBScript engines cannot index a call's result.)
Function NodePart(info, n)
    Dim parts : parts = Split(info, SOH)
    NodePart = parts(n)
End Function

' Detail field n (1 to 6) of a node info text: level, text, images, selected image, state
' image, host data.
Function NodeField(info, n)
    Dim fields : fields = Split(NodePart(info, 2), TB)
    NodeField = fields(n - 1)
End Function

Function HandleOf(info)
    HandleOf = CLng(NodePart(info, 1))
End Function

' A node line: level, text, images field (closed,open), selected image, state image, host data.
Function NodeLine(level, text, images, hostData)
    NodeLine = level & TB & text & TB & images & TB & TB & TB & hostData
End Function

Dim tree
Set tree = CreateObject("RamvelProj1.Ramvel")

' 1. Build: one node per line, each line placed under the last line one level up.
tree.AddNodes NodeLine(0, "Customers", "0,1", "") & vbLf & _
              NodeLine(1, "Smith", "4", "C042") & vbLf & _
              NodeLine(1, "Jones", "4", "C043") & vbLf & _
              NodeLine(0, "Suppliers", "0,1", "") & vbLf & _
              NodeLine(1, "Acme", "21", "S001")
WScript.Echo "nodes: " & tree.ChildrenNumber(0)

' 2. Walk by node index: 0 is the first root, then pre-order (a node, then its children).
Dim i, info
For i = 0 To tree.ChildrenNumber(0) - 1
    info = tree.GetNode(i)
    WScript.Echo "index " & NodePart(info, 0) & ": " & NodeField(info, 2) & _
                 " (level " & NodeField(info, 1) & ", data '" & NodeField(info, 6) & "')"
Next

' 3. Walk by handle: a handle stays the same for the node's whole life.
Sub ShowSubtree(h, indent)
    WScript.Echo indent & NodeField(tree.GethNode(h), 2)
    Dim child : child = tree.FirstChild(h)
    Do While child <> 0
        ShowSubtree child, indent & "  "
        child = tree.NextSibling(child)
    Loop
End Sub
Dim root : root = HandleOf(tree.GetNode(0))
Do While root <> 0
    ShowSubtree root, "  "
    root = tree.NextSibling(root)
Loop

Dim hCustomers : hCustomers = HandleOf(tree.GetNode(0))
Dim hSmith : hSmith = tree.FirstChild(hCustomers)
WScript.Echo "parent of Smith: " & NodeField(tree.getParent(hSmith), 2)
WScript.Echo "children of Customers: " & tree.ChildrenNumber(hCustomers)

' 4. Select and expand: GoToNode selects by index and opens the node's closed ancestors.
tree.Expanded(hCustomers) = True
WScript.Echo "Customers expanded: " & tree.Expanded(hCustomers)
tree.GoToNode 2
WScript.Echo "selected: " & NodeField(tree.GetSelectedNode, 2)

' 5. Change: ChangeNode rewrites text, images and host data, by node index.
tree.ChangeNode 2, NodeLine(1, "Jones & Co", "4", "C043")
WScript.Echo "changed: " & NodeField(tree.GetNode(2), 2)

' 6. Add relative to a node. The level equals Smith's, so Brown ends Smith's sibling list.
Dim reply : reply = tree.AddAfterNode(1, NodeLine(1, "Brown", "4", "C044"))
WScript.Echo "Brown is the last customer: " & (tree.LastChild(hCustomers) = HandleOf(reply))
' Or relative to a stored handle: Globex joins Acme's siblings.
Dim hAcme : hAcme = tree.FirstChild(tree.NextSibling(hCustomers))
tree.storeHNode hAcme
tree.AddAfterCurrentNode NodeLine(1, "Globex", "21", "S002")
WScript.Echo "suppliers: " & tree.ChildrenNumber(tree.NextSibling(hCustomers))

' 7. Delete by handle or by index; a node goes with its whole subtree.
tree.DeleteHNode hSmith
tree.DeleteNode tree.ChildrenNumber(0) - 1
WScript.Echo "nodes after deleting Smith and the last node: " & tree.ChildrenNumber(0)

' 8. Errors: a failed call raises a run-time error carrying the control's message.
On Error Resume Next
info = tree.GetNode(99)
WScript.Echo "GetNode(99) failed: " & Err.Description & " (" & Err.Source & ", &H" & Hex(Err.Number) & ")"
Err.Clear
On Error GoTo 0

Set tree = Nothing
WScript.Echo "done"
