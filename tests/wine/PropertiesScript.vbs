' A VBScript host of the tree's and the form's properties: the font object the control gives and
' the ones put into it by reference, the tree's font properties, and how values read back
' (colours unchanged, enumerations by their low 8 bits, booleans as True and False).
' Check, CheckEq and Finish come from ScriptChecks.vbs, which the runner puts first.

' The script engine's own number for DISP_E_MEMBERNOTFOUND from the control.
Const NO_PROPERTY = 438
Const E_NOINTERFACE = -2147467262

Function NewControl()
    Set NewControl = CreateObject("RamvelProj1.Ramvel")
End Function

' Puts one property; what failed stays in errNumber and errText.
Dim errNumber, errText
Sub Attempt(c, member, value)
    On Error Resume Next
    Err.Clear
    Select Case member
        Case "Lines" : c.Lines = value
        Case "Buttons" : c.Buttons = value
        Case "Track" : c.Track = value
        Case "FontName" : c.FontName = value
        Case "FontSize" : c.FontSize = value
        Case "Color" : c.Color = value
        Case "Caption" : c.Caption = value
        Case "AxBorderStyle" : c.AxBorderStyle = value
        Case "BiDiMode" : c.BiDiMode = value
        Case "PrintScale" : c.PrintScale = value
        Case "Cursor" : c.Cursor = value
        Case "HelpFile" : c.HelpFile = value
        Case "PixelsPerInch" : c.PixelsPerInch = value
        Case "Scaled" : c.Scaled = value
        Case "DoubleBuffered" : c.DoubleBuffered = value
        Case "DropTarget" : c.DropTarget = value
        Case "Enabled" : c.Enabled = value
        Case "AutoScroll" : c.AutoScroll = value
        Case "Font" : Set c.Font = value
    End Select
    errNumber = Err.Number : errText = Err.Description
    Err.Clear
End Sub

' Reads one property; a failure gives Empty and leaves its number in errNumber.
Function ReadBack(c, member)
    On Error Resume Next
    Err.Clear
    ReadBack = Empty
    Select Case member
        Case "Lines" : ReadBack = c.Lines
        Case "Buttons" : ReadBack = c.Buttons
        Case "Track" : ReadBack = c.Track
        Case "FontName" : ReadBack = c.FontName
        Case "FontSize" : ReadBack = c.FontSize
        ' An unsigned OLE_COLOR, which Wine's VBScript cannot compare as it is.
        Case "Color" : ReadBack = CDbl(c.Color)
        Case "Caption" : ReadBack = c.Caption
        Case "AxBorderStyle" : ReadBack = c.AxBorderStyle
        Case "BiDiMode" : ReadBack = c.BiDiMode
        Case "PrintScale" : ReadBack = c.PrintScale
        Case "Cursor" : ReadBack = c.Cursor
        Case "HelpFile" : ReadBack = c.HelpFile
        Case "PixelsPerInch" : ReadBack = c.PixelsPerInch
        Case "Scaled" : ReadBack = c.Scaled
        Case "DoubleBuffered" : ReadBack = c.DoubleBuffered
        Case "DropTarget" : ReadBack = c.DropTarget
        Case "Enabled" : ReadBack = c.Enabled
        Case "AutoScroll" : ReadBack = c.AutoScroll
    End Select
    errNumber = Err.Number
    Err.Clear
End Function

' --- Put, then read back ----------------------------------------------------------------------
' Rows: Array(member, value put, value read afterwards, and a second member read with it and
' its value, or Empty).
Dim c : Set c = NewControl()
Dim rows : rows = Array( _
    Array("FontName", "Courier New", "Courier New", "FontSize", 8), _
    Array("FontName", "", "Courier New", Empty, Empty), _
    Array("FontSize", 12, 12, "FontName", "Courier New"), _
    Array("FontSize", 10, 10, Empty, Empty), _
    Array("Color", 255, 255, Empty, Empty), _
    Array("Color", 2147483653, 2147483653, Empty, Empty), _
    Array("Color", &H80000012, 2147483666, Empty, Empty), _
    Array("Color", 4278190095, 4278190095, Empty, Empty), _
    Array("Caption", "Arbre", "Arbre", Empty, Empty), _
    Array("Caption", "", "", Empty, Empty), _
    Array("AxBorderStyle", 2, 2, Empty, Empty), _
    Array("AxBorderStyle", 260, 4, Empty, Empty), _
    Array("AxBorderStyle", 257, 1, Empty, Empty), _
    Array("BiDiMode", 3, 3, Empty, Empty), _
    Array("BiDiMode", 258, 2, Empty, Empty), _
    Array("PrintScale", 256, 0, Empty, Empty), _
    Array("PrintScale", 2, 2, Empty, Empty), _
    Array("Cursor", -21, -21, Empty, Empty), _
    Array("Cursor", 300, 300, Empty, Empty), _
    Array("HelpFile", "aide.hlp", "aide.hlp", Empty, Empty), _
    Array("DoubleBuffered", 5, True, Empty, Empty), _
    Array("DoubleBuffered", 0, False, Empty, Empty), _
    Array("DropTarget", 5, True, Empty, Empty), _
    Array("DropTarget", 0, False, Empty, Empty), _
    Array("Enabled", 0, False, Empty, Empty), _
    Array("Enabled", 5, True, Empty, Empty), _
    Array("AutoScroll", 5, True, Empty, Empty), _
    Array("AutoScroll", 0, False, Empty, Empty), _
    Array("PixelsPerInch", 30, 96, "Scaled", True), _
    Array("PixelsPerInch", 0, 96, "Scaled", False), _
    Array("PixelsPerInch", 120, 120, "Scaled", True), _
    Array("Scaled", False, False, "PixelsPerInch", 96), _
    Array("Scaled", 5, True, "PixelsPerInch", 96))
Dim i, row, value
For i = 0 To UBound(rows)
    row = rows(i)
    Attempt c, row(0), row(1)
    CheckEq errNumber, 0, row(0) & " = " & row(1) & " failed with [" & errText & "]"
    value = ReadBack(c, row(0))
    CheckEq errNumber, 0, "reading " & row(0) & " after " & row(0) & " = " & row(1)
    CheckEq value, row(2), row(0) & " after " & row(0) & " = " & row(1)
    ' True and False are -1 and 0, not merely non-zero.
    If VarType(row(2)) = vbBoolean Then CheckEq CInt(value), CInt(row(2)), row(0) & " as a number"
    If Not IsEmpty(row(3)) Then CheckEq ReadBack(c, row(3)), row(4), row(3) & " after " & row(0) & " = " & row(1)
Next

' --- The tree's switches can be put, not read --------------------------------------------------
Dim switch
For Each switch In Array("Lines", "Buttons", "Track")
    Attempt c, switch, False
    CheckEq errNumber, 0, switch & " = False failed with [" & errText & "]"
    Attempt c, switch, True
    CheckEq errNumber, 0, switch & " = True failed with [" & errText & "]"
    value = ReadBack(c, switch)
    CheckEq errNumber, NO_PROPERTY, "reading " & switch
Next

' --- The font object -------------------------------------------------------------------------
' The object the control gives is bound to the form's font, which the tree inherits until its
' own font changes.
Set c = NewControl()
Dim f : Set f = c.Font
Check Not f Is Nothing, "Font gives an object"
f.Name = "Tahoma"
CheckEq c.FontName, "Tahoma", "FontName after the font object's Name = Tahoma"
f.Size = 10
CheckEq c.FontSize, 10, "FontSize after the font object's Size = 10"
Check c.Font Is f, "Font gives the same object while it is bound"
c.FontSize = 12
f.Name = "Courier New"
CheckEq c.FontName, "Tahoma", "FontName once FontSize changed the tree's own font"
f.Size = 20
CheckEq c.FontSize, 12, "FontSize once FontSize changed the tree's own font"

' Set puts by reference, through late binding: the object becomes the bound one.
Dim c2 : Set c2 = NewControl()
Dim f2 : Set f2 = c2.Font
f2.Name = "Courier New"
Dim c3 : Set c3 = NewControl()
Attempt c3, "Font", f2
CheckEq errNumber, 0, "Set Font = another control's font failed with [" & errText & "]"
CheckEq c3.FontName, "Courier New", "FontName after Set Font"
Check c3.Font Is f2, "Font gives the object put by reference"
f2.Size = 14
CheckEq c3.FontSize, 14, "FontSize after the shared object's Size = 14"
CheckEq c2.FontSize, 14, "the other control's FontSize after the shared object's Size = 14"
f2.Name = "Tahoma"
CheckEq c3.FontName, "Tahoma", "FontName after the shared object's Name = Tahoma"

' Nothing unbinds: the next get makes a new object, and the old one no longer reaches the form.
Attempt c3, "Font", Nothing
CheckEq errNumber, 0, "Set Font = Nothing failed with [" & errText & "]"
Dim g : Set g = c3.Font
Check Not g Is f2, "Font gives a new object after Set Font = Nothing"
f2.Name = "Courier New"
CheckEq c3.FontName, "Tahoma", "FontName once the old object was unbound"
g.Name = "Courier New"
CheckEq c3.FontName, "Courier New", "FontName after the new object's Name = Courier New"

' An object that is no font.
Attempt c3, "Font", c2
CheckEq errNumber, E_NOINTERFACE, "Set Font = a control: Err.Number"
CheckEq Left(errText, 21), "Interface non support", "Set Font = a control: Err.Description [" & errText & "]"
' The rest is one accented letter and "e": Wine's VBScript has no ChrW to write it.
CheckEq Len(errText), 23, "Set Font = a control: Err.Description length [" & errText & "]"
CheckEq Right(errText, 1), "e", "Set Font = a control: Err.Description (end)"
Check c3.Font Is g, "the failed Set leaves the bound object"

Set f = Nothing : Set f2 = Nothing : Set g = Nothing
Set c = Nothing : Set c2 = Nothing : Set c3 = Nothing
Finish
