Attribute VB_Name = "RamvelSample"
' Ramvel from VBA (Excel, Word, Access, Outlook): the same calls as
' samples/vbscript/RamvelSample.vbs, for a Ramvel control on a UserForm.
'
' Set-up, once:
'   1. Register the Ramvel.ocx of Office's bitness (x86 for 32-bit Office, x64 for 64-bit).
'   2. In the VBA editor: File > Import File... > RamvelSample.bas; Insert > UserForm.
'   3. Right-click the Toolbox > Additional Controls..., tick "Ramvel Control", then draw
'      the control on the form: it is named Ramvel1.
'   4. In the UserForm's code (Initialize runs once per form; Activate would run again each
'      time the form comes back to the front, adding the nodes again):
'        Private Sub UserForm_Initialize()
'            RamvelSample.RunSample Me.Ramvel1
'        End Sub
' Run the form (F5); the results go to the Immediate window (Ctrl+G).
' Without a form, RamvelSample.RunSample CreateObject("RamvelProj1.Ramvel") makes the same calls
' on a control that is never shown.
Option Explicit

Private SOH As String   ' separates the three parts of a node info text
Private TB As String    ' separates the fields of a node line
Private tree As Object  ' the control; with a reference to "Ramvel (Library)" (Tools >
                        ' References) it may be declared As RamvelProj1.Ramvel instead

' Part n (0, 1 or 2) of a node info text: node index, handle, then the six detail fields.
Private Function NodePart(ByVal info As String, ByVal n As Long) As String
    Dim parts() As String: parts = Split(info, SOH)
    NodePart = parts(n)
End Function

' Detail field n (1 to 6) of a node info text: level, text, images, selected image, state
' image, host data.
Private Function NodeField(ByVal info As String, ByVal n As Long) As String
    Dim fields() As String: fields = Split(NodePart(info, 2), TB)
    NodeField = fields(n - 1)
End Function

Private Function HandleOf(ByVal info As String) As Long
    HandleOf = CLng(NodePart(info, 1))
End Function

' A node line: level, text, images field (closed,open), selected image, state image, host data.
Private Function NodeLine(ByVal level As Long, ByVal text As String, ByVal images As String, _
                          ByVal hostData As String) As String
    NodeLine = level & TB & text & TB & images & TB & TB & TB & hostData
End Function

' A node's text and those of its subtree, indented one step a level.
Private Sub ShowSubtree(ByVal h As Long, ByVal indent As String)
    Debug.Print indent & NodeField(tree.GethNode(h), 2)
    Dim child As Long: child = tree.FirstChild(h)
    Do While child <> 0
        ShowSubtree child, indent & "  "
        child = tree.NextSibling(child)
    Loop
End Sub

Public Sub RunSample(ByVal control As Object)
    SOH = Chr(1)
    TB = Chr(9)
    Set tree = control

    ' 1. Build: one node per line, each line placed under the last line one level up.
    tree.AddNodes NodeLine(0, "Customers", "0,1", "") & vbLf & _
                  NodeLine(1, "Smith", "4", "C042") & vbLf & _
                  NodeLine(1, "Jones", "4", "C043") & vbLf & _
                  NodeLine(0, "Suppliers", "0,1", "") & vbLf & _
                  NodeLine(1, "Acme", "21", "S001")
    Debug.Print "nodes: " & tree.ChildrenNumber(0)

    ' 2. Walk by node index: 0 is the first root, then pre-order (a node, then its children).
    Dim i As Long, info As String
    For i = 0 To tree.ChildrenNumber(0) - 1
        info = tree.GetNode(i)
        Debug.Print "index " & NodePart(info, 0) & ": " & NodeField(info, 2) & _
                    " (level " & NodeField(info, 1) & ", data '" & NodeField(info, 6) & "')"
    Next

    ' 3. Walk by handle: a handle stays the same for the node's whole life.
    Dim root As Long: root = HandleOf(tree.GetNode(0))
    Do While root <> 0
        ShowSubtree root, "  "
        root = tree.NextSibling(root)
    Loop

    Dim hCustomers As Long: hCustomers = HandleOf(tree.GetNode(0))
    Dim hSmith As Long: hSmith = tree.FirstChild(hCustomers)
    Debug.Print "parent of Smith: " & NodeField(tree.getParent(hSmith), 2)
    Debug.Print "children of Customers: " & tree.ChildrenNumber(hCustomers)

    ' 4. Select and expand: GoToNode selects by index and opens the node's closed ancestors.
    tree.Expanded(hCustomers) = True
    Debug.Print "Customers expanded: " & tree.Expanded(hCustomers)
    tree.GoToNode 2
    Debug.Print "selected: " & NodeField(tree.GetSelectedNode, 2)

    ' 5. Change: ChangeNode rewrites text, images and host data, by node index.
    tree.ChangeNode 2, NodeLine(1, "Jones & Co", "4", "C043")
    Debug.Print "changed: " & NodeField(tree.GetNode(2), 2)

    ' 6. Add relative to a node. The level equals Smith's, so Brown ends Smith's sibling list.
    Dim reply As String: reply = tree.AddAfterNode(1, NodeLine(1, "Brown", "4", "C044"))
    Debug.Print "Brown is the last customer: " & (tree.LastChild(hCustomers) = HandleOf(reply))
    ' Or relative to a stored handle: Globex joins Acme's siblings.
    Dim hAcme As Long: hAcme = tree.FirstChild(tree.NextSibling(hCustomers))
    tree.storeHNode hAcme
    tree.AddAfterCurrentNode NodeLine(1, "Globex", "21", "S002")
    Debug.Print "suppliers: " & tree.ChildrenNumber(tree.NextSibling(hCustomers))

    ' 7. Delete by handle or by index; a node goes with its whole subtree.
    tree.DeleteHNode hSmith
    tree.DeleteNode tree.ChildrenNumber(0) - 1
    Debug.Print "nodes after deleting Smith and the last node: " & tree.ChildrenNumber(0)

    ' 8. Errors: a failed call raises a run-time error carrying the control's message.
    On Error Resume Next
    info = tree.GetNode(99)
    Debug.Print "GetNode(99) failed: " & Err.Description & " (" & Err.Source & ", &H" & Hex(Err.Number) & ")"
    Err.Clear
    On Error GoTo 0

    Set tree = Nothing
    Debug.Print "done"
End Sub
