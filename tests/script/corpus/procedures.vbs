' Sub and Function, ByRef and ByVal, Call, recursion, Exit
Function Add(a, b)
  Add = a + b
End Function
Sub Inc(ByRef x)
  x = x + 1
End Sub
Sub NoInc(ByVal x)
  x = x + 1
End Sub
Dim v: v = 1
Inc v: dbg.Out v
NoInc v: dbg.Out v
Inc (v): dbg.Out v
Call Inc(v): dbg.Out v
dbg.Out Add(2, 3) & " " & Add("a", "b")
Function Fib(n)
  If n < 2 Then
    Fib = n
    Exit Function
  End If
  Fib = Fib(n - 1) + Fib(n - 2)
End Function
dbg.Out Fib(15)
Dim counter
Sub Count()
  counter = counter + 1
End Sub
Count: Count: Count
dbg.Out counter
Sub Early(x)
  If x Then Exit Sub
  dbg.Out "not early"
End Sub
Early True: Early False
Dim arr(2): arr(1) = 5
Sub Twice(ByRef y): y = y * 2: End Sub
Twice arr(1): dbg.Out arr(1)
Function MakeArray()
  MakeArray = Array(1, 2, 3)
End Function
dbg.Out UBound(MakeArray()) & " " & MakeArray()(2)
Function Nothing1()
End Function
dbg.Out IsEmpty(Nothing1())
Private Function Hidden(ByVal s)
  Hidden = "[" & s & "]"
End Function
dbg.Out Hidden("private")
