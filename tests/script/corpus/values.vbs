' Subtypes, conversions, type inspection
dbg.Out TypeName(1) & " " & TypeName(40000) & " " & TypeName(1.5) & " " & TypeName("a")
dbg.Out TypeName(Empty) & " " & TypeName(Null) & " " & TypeName(True) & " " & TypeName(#1/1/2000#) & " " & TypeName(Nothing)
dbg.Out VarType(CCur(1)) & " " & VarType(CByte(1)) & " " & VarType(CSng(1)) & " " & VarType(Array(1))
dbg.Out CInt(2.5) & " " & CInt(3.5) & " " & CLng(-2.5) & " " & Round(2.5) & " " & Round(1.2345, 2)
dbg.Out CStr(1E+20) & " " & CStr(0.00001) & " " & CStr(123456789012345) & " " & 0.1 + 0.2
dbg.Out CBool("True") & " " & CBool(0) & " " & CBool("1") & " " & CDbl("1,234.5")
dbg.Out &HFF & " " & &HFFFF & " " & &H10000 & " " & Hex(255) & " " & Hex(-1) & " " & Oct(8)
dbg.Out IsNumeric("12.5") & IsNumeric("abc") & IsNumeric(Empty) & IsDate("2003-01-02") & IsDate("hello") & IsEmpty(neverSet)
dbg.Out CCur(1.23456) & " " & CCur(10) / 4 & " " & TypeName(CCur(1) * 2)
dbg.Out 32767 + 1 & " " & TypeName(32767 + 1) & " " & TypeName(2147483647 + 1)
dbg.Out Int(-2.5) & " " & Fix(-2.5) & " " & Abs(-3) & " " & Sgn(-0.5) & " " & Sqr(16)
dbg.Out Len(12345) & " " & Len(Null) & "|" & CStr(True)
