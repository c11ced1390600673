' Precedence, integer division, Null propagation, comparisons
dbg.Out 2 + 3 * 4 & " " & (2 + 3) * 4 & " " & 2 ^ 3 ^ 2 & " " & -2 ^ 2 & " " & 2 ^ -1
dbg.Out 10 \ 3 & " " & -7 \ 2 & " " & 10 Mod 3 & " " & -7 Mod 3 & " " & 7.6 \ 2
dbg.Out "a" + "b" & " " & "1" + 2 & " " & "1" & 2 & " " & 1 + Empty & " " & "x" + Empty
dbg.Out IsNull(Null + 1) & " " & IsNull(Null & "a") & " " & (Null & "a") & " " & IsNull(Null = Null)
dbg.Out (True And Null) & "|" & (False And Null) & "|" & (True Or Null) & "|" & (False Or Null) & "|"
dbg.Out (5 And 3) & " " & (5 Or 3) & " " & (5 Xor 3) & " " & (Not 0) & " " & (True Eqv False) & " " & (False Imp False)
dbg.Out ("abc" < "abd") & " " & ("B" < "a") & " " & (10 < 9) & " " & ("10" < "9")
Dim n, t: n = 5: t = "5"
dbg.Out (n = t) & " " & (n = "5") & " " & (5 = t) & " " & (t > n)
Dim o1, o2: Set o1 = CreateObject("Scripting.Dictionary"): Set o2 = o1
dbg.Out (o1 Is o2) & " " & (o1 Is Nothing) & " " & (Nothing Is Nothing)
dbg.Out #1/31/2003# + 1 & " " & #3/1/2003# - #2/1/2003# & " " & TypeName(#1/1/2003# + 1)
dbg.Out Not 1 = 2 And 3 > 2 Or False
