' String functions
Dim s: s = "Hello, World"
dbg.Out Len(s) & " " & Left(s, 5) & " " & Right(s, 5) & " " & Mid(s, 8) & " " & Mid(s, 8, 3)
dbg.Out UCase(s) & " " & LCase("ABC") & " [" & Trim("  x  ") & "][" & LTrim("  x") & "][" & RTrim("x  ") & "]"
dbg.Out InStr(s, "o") & " " & InStr(6, s, "o") & " " & InStr(1, s, "WORLD", vbTextCompare) & " " & InStrRev(s, "o") & " " & InStr(s, "z")
dbg.Out Replace(s, "o", "0") & " " & Replace("aaa", "a", "b", 2) & " " & Replace("aaaa", "a", "b", 1, 2)
dbg.Out Join(Split("a,b,,c", ","), "|") & " " & UBound(Split("")) & " " & UBound(Split("a b c")) & " " & Split("a-b-c", "-", 2)(1)
dbg.Out StrComp("a", "B") & " " & StrComp("a", "A", 1) & " " & StrReverse("abc") & " " & Space(3) & "|" & String(3, "*")
dbg.Out Asc("A") & " " & Chr(66) & " " & ChrW(8364) & " " & AscW("€")
dbg.Out "He said ""hi""" & " " & Len(vbCrLf) & " " & (vbNullString = "")
dbg.Out Join(Filter(Array("apple", "banana", "cherry"), "an"), ",") & " " & LCase(Null) & "|"
Dim b, k: For k = 1 To 3: b = b & Chr(64 + k): Next: dbg.Out b
dbg.Out Escape("a b&c") & " " & Unescape("%41%u20AC")
