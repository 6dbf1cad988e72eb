' Put before every VBScript test by ComScriptRun.sh: the checks, and Finish, which a test calls
' last to print the closing line the runner looks for.
Option Explicit
Dim failures : failures = 0
Sub Check(ok, what)
    If Not ok Then
        WScript.Echo "FAIL " & what
        failures = failures + 1
    End If
End Sub
Sub CheckEq(actual, expected, what)
    Check actual = expected, what & ": expected [" & expected & "] actual [" & actual & "]"
End Sub
Sub Finish()
    If failures = 0 Then
        WScript.Echo "RAMVEL-SCRIPT-OK"
    Else
        WScript.Quit 1
    End If
End Sub
