' A VBScript host of the image members: the indexes AddImage gives from real files, which list
' is shown, the module-wide Images flag, and each failure's number and text.
' Picture files come from images\ (see images\make-test-images.py); the runner starts the script
' in its own folder, so relative names reach them.
' Check, CheckEq and Finish come from ScriptChecks.vbs, which the runner puts first.

Const E_UNEXPECTED = -2147418113
Const NO_LIST = "No image list is shown: switch images on (Images or ImageList) first."
Const BAD_SIZE = "Taille de l'image non valide"
Const BAD_BITMAP = "Image de bitmap non valide"
Const CANNOT_REPLACE = "Impossible de remplacer l'image"
Const READ_ERROR = "Erreur de lecture du flux"

Function NewControl()
    Set NewControl = CreateObject("RamvelProj1.Ramvel")
End Function

' Calls one image member; what failed stays in errNumber, errText and errSource. Gives
' AddImage's index, Empty for the other members.
Dim errNumber, errText, errSource
Function Attempt(r, member, a, b)
    On Error Resume Next
    Err.Clear
    Attempt = Empty
    Select Case member
        Case "AddImage" : Attempt = r.AddImage(a)
        Case "ReplaceImage" : r.ReplaceImage a, b
        Case "imageSize" : r.imageSize a, b
        Case "ClearImages" : r.ClearImages
        Case "resetImages" : r.resetImages
        Case "ImageList" : r.ImageList = a
        Case "Images" : r.Images = a
    End Select
    errNumber = Err.Number : errText = Err.Description : errSource = Err.Source
    Err.Clear
End Function

Function Describe(step)
    Describe = step(0) & "(" & step(1) & ", " & step(2) & ")"
End Function

' Steps of Array(member, first argument, second argument, AddImage's expected index); each
' must succeed.
Sub RunSteps(r, steps, what)
    Dim i, step, index
    For i = 0 To UBound(steps)
        step = steps(i)
        index = Attempt(r, step(0), step(1), step(2))
        CheckEq errNumber, 0, what & ": " & Describe(step) & " failed with [" & errText & "]"
        If step(0) = "AddImage" Then CheckEq index, step(3), what & ": " & Describe(step)
    Next
End Sub

' The last failure must be E_UNEXPECTED from the control, its text `start`, then `gap`
' characters (any non-ASCII ones: Wine's VBScript has no ChrW to write them; -1 for at least
' one), then `finish`.
Sub ExpectFailure(what, start, gap, finish)
    CheckEq errNumber, E_UNEXPECTED, what & " Err.Number"
    CheckEq errSource, "RamvelProj1.Ramvel", what & " Err.Source"
    Dim ok : ok = Left(errText, Len(start)) = start And Right(errText, Len(finish)) = finish
    If gap >= 0 Then
        ok = ok And Len(errText) = Len(start) + gap + Len(finish)
    Else
        ok = ok And Len(errText) > Len(start) + Len(finish)
    End If
    Check ok, what & " Err.Description: [" & errText & "]"
End Sub

' Failing steps: Array(member, first argument, second argument, start, gap, finish).
Sub RunFailures(r, cases, what)
    Dim i, c
    For i = 0 To UBound(cases)
        c = cases(i)
        Attempt r, c(0), c(1), c(2)
        ExpectFailure what & ": " & Describe(c), c(3), c(4), c(5)
    Next
End Sub

Dim r, fso : Set fso = CreateObject("Scripting.FileSystemObject")

' --- A new control shows its standard list of 42 images, 16 by 16 ---------------------------
Set r = NewControl()
CheckEq r.ImageList, 1, "ImageList of a new control"
CheckEq r.Images, True, "Images of a new control"
RunSteps r, Array( _
    Array("AddImage", "images\icon16-32bit.ico", Empty, 42), _
    Array("AddImage", "images\magenta16.bmp", Empty, 43), _
    Array("AddImage", "images\strip48x16.bmp", Empty, 44), _
    Array("AddImage", "images\icon32-png.ico", Empty, 47), _
    Array("AddImage", "images\icon-multi.Ico", Empty, 48), _
    Array("ReplaceImage", 0, "images\icon16-32bit.ico", Empty), _
    Array("ReplaceImage", 48, "images\magenta16.bmp", Empty), _
    Array("ReplaceImage", -1, "images\icon32-png.ico", Empty), _
    Array("AddImage", "images\icon16-32bit.ico", Empty, 50)), "standard list"

' --- The alternate list: 87 images; the standard list's members leave it alone --------------
r.ImageList = 2
RunSteps r, Array( _
    Array("AddImage", "images\icon16-32bit.ico", Empty, 87), _
    Array("ClearImages", Empty, Empty, Empty), _
    Array("imageSize", 32, 32, Empty), _
    Array("AddImage", "images\magenta16.bmp", Empty, 88), _
    Array("ImageList", 1, Empty, Empty), _
    Array("AddImage", "images\icon-multi.ico", Empty, 0)), "alternate list"

' --- ClearImages, resetImages and imageSize, seen through the next index ---------------------
Set r = NewControl()
RunSteps r, Array( _
    Array("AddImage", "images\icon16-32bit.ico", Empty, 42), _
    Array("ClearImages", Empty, Empty, Empty), _
    Array("AddImage", "images\icon16-32bit.ico", Empty, 0), _
    Array("ClearImages", Empty, Empty, Empty), _
    Array("ClearImages", Empty, Empty, Empty), _
    Array("resetImages", Empty, Empty, Empty), _
    Array("AddImage", "images\magenta16.bmp", Empty, 42), _
    Array("resetImages", Empty, Empty, Empty), _
    Array("AddImage", "images\icon16-32bit.ico", Empty, 85), _
    Array("imageSize", 16, 16, Empty), _
    Array("AddImage", "images\icon16-32bit.ico", Empty, 86), _
    Array("imageSize", 32, 32, Empty), _
    Array("AddImage", "images\icon-multi.ico", Empty, 0), _
    Array("AddImage", "images\icon32-png.ico", Empty, 1), _
    Array("resetImages", Empty, Empty, Empty), _
    Array("AddImage", "images\icon-multi.ico", Empty, 44), _
    Array("imageSize", 32, 16, Empty), _
    Array("AddImage", "images\icon32-png.ico", Empty, 0), _
    Array("AddImage", "images\strip48x16.bmp", Empty, 1), _
    Array("AddImage", "images\icon-multi.ico", Empty, 2), _
    Array("imageSize", 16, 16, Empty), _
    Array("AddImage", "images\strip48x16.bmp", Empty, 0), _
    Array("AddImage", "images\icon16-32bit.ico", Empty, 3)), "list size and content"
Attempt r, "imageSize", 32, 32
Attempt r, "AddImage", "images\icon16-32bit.ico", Empty
ExpectFailure "a 16 by 16 icon in a 32 by 32 list", BAD_SIZE, 0, ""

' --- Every failure: its text, E_UNEXPECTED, and no list changed ------------------------------
Set r = NewControl()
Dim missing : missing = fso.GetAbsolutePathName("images\missing.bmp")
RunFailures r, Array( _
    Array("AddImage", "images\missing.bmp", Empty, "Impossible d'ouvrir le fichier """ & missing & """. ", -1, ""), _
    Array("AddImage", "images\truncated.bmp", Empty, READ_ERROR, 0, ""), _
    Array("AddImage", "images\not-a-bitmap.bmp", Empty, BAD_BITMAP, 0, ""), _
    Array("AddImage", "images\short.ico", Empty, READ_ERROR, 0, ""), _
    Array("AddImage", "images\cursor.ico", Empty, "Image d'ic", 1, "ne non valide"), _
    Array("AddImage", "images\icon8.ico", Empty, BAD_SIZE, 0, ""), _
    Array("AddImage", "images\bitmap8.bmp", Empty, BAD_SIZE, 0, ""), _
    Array("AddImage", "images\my.icons\in-dotted-folder.ico", Empty, BAD_BITMAP, 0, ""), _
    Array("ReplaceImage", -1, "images\magenta16.bmp", CANNOT_REPLACE, 0, ""), _
    Array("ReplaceImage", 42, "images\icon16-32bit.ico", CANNOT_REPLACE, 0, ""), _
    Array("ReplaceImage", -2, "images\icon16-32bit.ico", CANNOT_REPLACE, 0, ""), _
    Array("ReplaceImage", 42, "images\magenta16.bmp", CANNOT_REPLACE, 0, ""), _
    Array("ReplaceImage", 0, "images\icon8.ico", BAD_SIZE, 0, ""), _
    Array("ReplaceImage", 0, "images\truncated.bmp", READ_ERROR, 0, ""), _
    Array("imageSize", 0, 16, BAD_SIZE, 0, ""), _
    Array("imageSize", 16, 1025, BAD_SIZE, 0, ""), _
    Array("imageSize", 1025, 1025, BAD_SIZE, 0, ""), _
    Array("imageSize", 32, -1, BAD_SIZE, 0, "")), "failure"
RunSteps r, Array(Array("AddImage", "images\icon16-32bit.ico", Empty, 42)), "after the failures"

' --- ImageList and Images, put and get --------------------------------------------------------
' Rows: Array(member, value put, ImageList then, Images then).
Set r = NewControl()
Dim shown : shown = Array( _
    Array("ImageList", 2, 2, True), _
    Array("ImageList", 3, 2, True), _
    Array("ImageList", 0, 1, True), _
    Array("ImageList", 2, 2, True), _
    Array("ImageList", -7, 1, True), _
    Array("Images", False, 0, False), _
    Array("ImageList", 3, 0, False), _
    Array("Images", True, 1, True), _
    Array("ImageList", 2, 2, True), _
    Array("Images", True, 1, True), _
    Array("ImageList", 2, 2, True), _
    Array("Images", False, 0, False), _
    Array("ImageList", 2, 2, True), _
    Array("Images", True, 1, True))
Dim i, row
For i = 0 To UBound(shown)
    row = shown(i)
    Attempt r, row(0), row(1), Empty
    CheckEq errNumber, 0, row(0) & " = " & row(1) & " failed"
    CheckEq r.ImageList, row(2), "ImageList after " & row(0) & " = " & row(1) & " (row " & i & ")"
    CheckEq r.Images, row(3), "Images after " & row(0) & " = " & row(1) & " (row " & i & ")"
Next
r.ImageList = 2
CheckEq r.AddImage("images\icon16-32bit.ico"), 87, "AddImage once the alternate list is shown"

' --- Images put is module-wide: it decides what a control made later shows ------------------
Dim a, b, c, d
Set a = NewControl()
a.Images = False
Set b = NewControl()
CheckEq b.ImageList, 0, "ImageList of a control made after Images = False"
CheckEq b.Images, False, "Images of a control made after Images = False"
RunFailures b, Array( _
    Array("AddImage", "images\icon16-32bit.ico", Empty, NO_LIST, 0, ""), _
    Array("AddImage", "images\missing.bmp", Empty, NO_LIST, 0, ""), _
    Array("ReplaceImage", 0, "images\icon16-32bit.ico", NO_LIST, 0, "")), "no list shown"
' The standard list itself can still be changed while hidden.
RunSteps b, Array( _
    Array("ClearImages", Empty, Empty, Empty), _
    Array("resetImages", Empty, Empty, Empty), _
    Array("ImageList", 1, Empty, Empty), _
    Array("AddImage", "images\magenta16.bmp", Empty, 42)), "hidden list changed"
' ImageList put leaves the module's flag alone.
Set c = NewControl()
CheckEq c.ImageList, 0, "ImageList of a control made after another's ImageList = 1"
' Any control's Images = True turns it back on; controls already made keep their list.
c.Images = True
Set d = NewControl()
CheckEq d.ImageList, 1, "ImageList of a control made after Images = True"
CheckEq d.Images, True, "Images of a control made after Images = True"
CheckEq a.ImageList, 0, "ImageList of the first control, unchanged by the others"

Set a = Nothing : Set b = Nothing : Set c = Nothing : Set d = Nothing : Set r = Nothing
Finish
