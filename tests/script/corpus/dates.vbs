' Dates and times
Dim d: d = #2/29/2004 13:45:30#
dbg.Out Year(d) & " " & Month(d) & " " & Day(d) & " " & Hour(d) & " " & Minute(d) & " " & Second(d)
dbg.Out Weekday(d) & " " & WeekdayName(Weekday(d)) & " " & MonthName(2) & " " & MonthName(2, True)
dbg.Out DateAdd("m", 1, #1/31/2003#) & " | " & DateAdd("yyyy", 1, d) & " | " & DateAdd("d", -1, #3/1/2004#)
dbg.Out DateDiff("d", #1/1/2003#, #3/1/2003#) & " " & DateDiff("m", #12/31/2002#, #1/1/2003#) & " " & DateDiff("yyyy", #12/31/2002#, #1/1/2003#) & " " & DateDiff("h", #1/1/2003 10:59#, #1/1/2003 11:01#)
dbg.Out DatePart("q", d) & " " & DatePart("y", d) & " " & DatePart("ww", #1/1/2003#) & " " & DatePart("ww", #12/31/2003#)
dbg.Out DateSerial(2003, 14, 1) & " | " & DateSerial(2003, 3, 0) & " | " & TimeSerial(14, 30, 0)
dbg.Out CDate("2003-01-02") & " | " & CDate("January 5, 2003") & " | " & CDate("10:30 PM") & " | " & DateValue("12/25/2003 08:00")
dbg.Out FormatDateTime(#1/2/2003#, vbLongDate) & " | " & FormatDateTime(#1/2/2003 14:05#, vbShortTime)
dbg.Out Format(#1/2/2003#, "yyyy-mm-dd") & " " & Format(d, "ww")
dbg.Out TypeName(Now) & " " & (Date <= Now) & " " & IsDate(Time)
