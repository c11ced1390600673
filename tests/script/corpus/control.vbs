' If, Select Case, loops, With, continuations, colons, comments
Dim i, s, n
For i = 10 To 1 Step -3: s = s & i & " ": Next
dbg.Out s & "| " & i
s = ""
For i = 1 To 3
  If i = 2 Then
    s = s & "two "
  ElseIf i = 3 Then
    s = s & "three"
  Else
    s = s & "one "
  End If
Next
dbg.Out s
If 1 > 2 Then dbg.Out "no" Else dbg.Out "single-line else"
If True Then dbg.Out "a": dbg.Out "b"
n = 0: Do While n < 5: n = n + 1: Loop: dbg.Out n
n = 0: Do: n = n + 2: Loop Until n >= 7: dbg.Out n
n = 10: Do Until n = 0: n = n - 1: If n = 4 Then Exit Do
Loop: dbg.Out n
n = 0: While n < 3: n = n + 1: Wend: dbg.Out n
s = "": For Each i In Array("x", "y", "z"): s = s & i: Next: dbg.Out s
For i = 1 To 10: If i = 4 Then Exit For
Next: dbg.Out i
Select Case "Beverages"
  Case "Condiments", "Produce": dbg.Out "other"
  Case "Beverages": dbg.Out "drinks"
End Select
Select Case 42
  Case Is < 10: dbg.Out "small"
  Case 10 To 50: dbg.Out "medium"
  Case Else: dbg.Out "large"
End Select
Select Case Null
  Case 1: dbg.Out "one"
  Case Else: dbg.Out "null goes to else"
End Select
s = ""
For i = 1 To 2 : For n = 1 To 2
    s = s & _
        i & n & ","
  Next : Next
Rem a comment line
dbg.Out s ' a trailing comment
With CreateObject("Scripting.Dictionary")
  .Add "k", "v"
  dbg.Out .Item("k") & .Count
End With
IF i = 3 then DBG.OUT "names ignore case"
