' A VBScript host: builds and walks a tree through CreateObject and reads failures from Err.
' Check, CheckEq and Finish come from ScriptChecks.vbs, which the runner puts first.

Const E_UNEXPECTED = -2147418113
Dim SOH : SOH = Chr(1)
Dim TB : TB = Chr(9)

Dim lines : lines = Array("0" & TB & "Root" & TB & "0,1", _
                          "1" & TB & "Child" & TB & "2" & TB & "3" & TB & "4" & TB & "data", _
                          "0" & TB & "Other")
' Join is missing from Wine's VBScript: the lines are joined by hand.
Dim parm, k : parm = lines(0)
For k = 1 To UBound(lines) : parm = parm & vbLf & lines(k) : Next
Dim r : Set r = CreateObject("RamvelProj1.Ramvel")
r.AddNodes parm
CheckEq r.ChildrenNumber(0), 3, "ChildrenNumber(0)"

' Node info text from a node line: index SOH handle SOH level TAB text TAB images TAB sel TAB state TAB data.
Function Expected(index, handle, line)
    Dim f : f = Split(line & TB & TB & TB & TB & TB, TB)
    Dim sel : sel = f(3) : If sel = "" Then sel = "-1"
    Dim st : st = f(4) : If st = "" Then st = "-1"
    Expected = index & SOH & handle & SOH & f(0) & TB & f(1) & TB & f(2) & TB & sel & TB & st & TB & f(5)
End Function

' The handle: the second SOH part of node info text (read with InStr, which Wine's VBScript
' handles in every form).
Function HandleOf(text)
    Dim a, b
    a = InStr(text, SOH)
    b = InStr(a + 1, text, SOH)
    HandleOf = CLng(Mid(text, a + 1, b - a - 1))
End Function

Dim i, handles(2), info
For i = 0 To 2
    info = r.GetNode(i)
    handles(i) = HandleOf(info)
    Check handles(i) > 0, "handle of node " & i
    CheckEq info, Expected(i, handles(i), lines(i)), "GetNode(" & i & ")"
Next

' Names reach the members in any letter case.
CheckEq r.childrennumber(handles(0)), 1, "childrennumber(root)"
CheckEq r.FIRSTCHILD(handles(0)), handles(1), "FIRSTCHILD(root)"
CheckEq r.LastChild(handles(0)), handles(1), "LastChild(root)"
CheckEq r.NextSibling(handles(0)), handles(2), "NextSibling(root)"
CheckEq r.NextSibling(handles(1)), 0, "NextSibling(child)"
CheckEq r.getParent(handles(1)), r.GetNode(0), "getParent(child)"
CheckEq r.getParent(handles(0)), "", "getParent(root)"
CheckEq r.GethNode(handles(1)), r.GetNode(1), "GethNode(child)"

CheckEq r.Expanded(handles(0)), False, "Expanded(root) at first"
r.Expanded(handles(0)) = True
CheckEq r.Expanded(handles(0)), True, "Expanded(root) after put"
CheckEq r.GoToNode(1), r.GetNode(1), "GoToNode(1)"
CheckEq r.GetSelectedNode, r.GetNode(1), "GetSelectedNode"
CheckEq r.GoToNode(3), "", "GoToNode past the end"
CheckEq r.TreeRefresh, True, "TreeRefresh"

Dim reply : reply = r.AddAfterNode(0, "1" & TB & "Second")
CheckEq Left(reply, 1), SOH, "AddAfterNode reply starts with SOH"
CheckEq r.LastChild(handles(0)), HandleOf(reply), "AddAfterNode added the last child"

On Error Resume Next
Dim x
Err.Clear
x = r.GetNode(5)
CheckEq Err.Number, E_UNEXPECTED, "GetNode(5) Err.Number"
CheckEq Err.Source, "RamvelProj1.Ramvel", "GetNode(5) Err.Source"
CheckEq Err.Description, "Index incorrect", "GetNode(5) Err.Description"

Err.Clear
r.AddNodes "x" & TB & "Bad"
CheckEq Err.Number, E_UNEXPECTED, "bad level Err.Number"
CheckEq Err.Source, "RamvelProj1.Ramvel", "bad level Err.Source"
CheckEq Left(Err.Description, 29), "'x' n'est pas une valeur enti", "bad level Err.Description"
CheckEq Right(Err.Description, 9), " correcte", "bad level Err.Description (end)"
r.TreeRefresh = True

Err.Clear
x = r.Lines
Check Err.Number <> 0, "reading the put-only Lines must fail"
On Error GoTo 0

Set r = Nothing
Finish
