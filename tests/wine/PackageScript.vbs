' The release archive's smoke script: a script host of either bitness creates the control that
' the registry view of its bitness names, builds a small tree and reads it back.
' Check, CheckEq and Finish come from ScriptChecks.vbs, which the runner puts first.

Dim SOH : SOH = Chr(1)
Dim TB : TB = Chr(9)
Dim r : Set r = CreateObject("RamvelProj1.Ramvel")
r.AddNodes "0" & TB & "Customers" & vbLf & "1" & TB & "Smith" & vbLf & "1" & TB & "Jones"
CheckEq r.ChildrenNumber(0), 3, "ChildrenNumber(0)"

' Node info text: index SOH handle SOH level TAB text TAB images TAB sel TAB state TAB data.
Function TextOf(info)
    Dim parts : parts = Split(info, SOH)
    Dim fields : fields = Split(parts(2), TB)
    TextOf = fields(1)
End Function
CheckEq TextOf(r.GetNode(0)), "Customers", "GetNode(0)"
CheckEq TextOf(r.GetNode(1)), "Smith", "GetNode(1)"
CheckEq TextOf(r.GetNode(2)), "Jones", "GetNode(2)"
CheckEq TextOf(r.GoToNode(2)), "Jones", "GoToNode(2)"
CheckEq TextOf(r.GetSelectedNode), "Jones", "GetSelectedNode"

Set r = Nothing
Finish
