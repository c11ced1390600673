' Arrays: Dim, ReDim Preserve, value semantics, For Each order, errors
Dim a(2, 3), i, j
For i = 0 To 2: For j = 0 To 3: a(i, j) = i * 10 + j: Next: Next
dbg.Out UBound(a) & " " & UBound(a, 2) & " " & LBound(a) & " " & a(2, 3)
Dim b()
ReDim b(2): b(0) = "x": b(2) = "z"
ReDim Preserve b(4): b(4) = "e"
dbg.Out UBound(b) & " " & b(0) & b(2) & b(4) & "|" & b(3) & "|"
ReDim b(1): dbg.Out "[" & b(0) & "]" & UBound(b)
Dim c: c = Array(1, 2, 3)
Dim e: e = c: e(0) = 99
dbg.Out c(0) & " " & e(0)
Dim m: ReDim m(1, 1): m(1, 1) = "q": ReDim Preserve m(1, 3): dbg.Out m(1, 1) & UBound(m, 2)
dbg.Out IsArray(c) & " " & IsArray(1) & " " & TypeName(c)
Dim s, x: For Each x In a: s = s & x & ",": Next
dbg.Out s
On Error Resume Next
dbg.Out a(3, 0)
dbg.Out Err.Number
Err.Clear
ReDim a(5)
dbg.Out Err.Number
