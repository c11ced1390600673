' On Error Resume Next, On Error GoTo 0, the Err object
On Error Resume Next
Dim x
x = 1 / 0
dbg.Out Err.Number & " " & Err.Description
Err.Clear
dbg.Out Err.Number
x = CInt("abc")
dbg.Out Err.Number
Err.Raise 1000, "MyScript", "Custom failure"
dbg.Out Err.Number & " " & Err.Source & " " & Err.Description
Err.Clear
Sub Fails()
  Dim y: y = 1 / 0
  dbg.Out "not reached"
End Sub
Fails
dbg.Out "after Fails: " & Err.Number
On Error GoTo 0
Function Safe(a, b)
  On Error Resume Next
  Safe = a / b
  If Err.Number <> 0 Then Safe = "n/a"
End Function
dbg.Out Safe(6, 3) & " " & Safe(1, 0)
On Error Resume Next
Dim parts, total, p: parts = Array("1", "x", "3")
total = 0
For Each p In parts
  total = total + CInt(p)
  If Err.Number <> 0 Then dbg.Out "skipped " & p: Err.Clear
Next
dbg.Out total
If 1 / 0 = 5 Then dbg.Out "then branch after error"
dbg.Out Err.Number
