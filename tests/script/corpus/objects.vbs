' Scripting.Dictionary and VBScript.RegExp
Dim d: Set d = CreateObject("Scripting.Dictionary")
d.Add "apple", 1
d.Add "Banana", 2
d("cherry") = 3
dbg.Out d.Count & " " & d.Exists("apple") & " " & d.Exists("APPLE") & " " & d.Item("Banana")
d.Key("apple") = "avocado"
dbg.Out Join(d.Keys, ",") & " " & Join(d.Items, ",")
d.Remove "Banana"
dbg.Out d.Count & " " & IsEmpty(d("missing")) & " " & d.Count
Dim k, s: For Each k In d: s = s & k & "=" & d(k) & ";": Next: dbg.Out s
On Error Resume Next
d.Add "cherry", 9: dbg.Out Err.Number: Err.Clear
d.Remove "nothing": dbg.Out Err.Number: Err.Clear
On Error GoTo 0
Dim t: Set t = CreateObject("Scripting.Dictionary"): t.CompareMode = vbTextCompare
t.Add "Key", 1: dbg.Out t.Exists("KEY")
d.RemoveAll: dbg.Out d.Count
Dim re: Set re = CreateObject("VBScript.RegExp")
re.Pattern = "^\d{3}-\d{4}$"
dbg.Out re.Test("555-1234") & " " & re.Test("5551234")
re.Pattern = "o": dbg.Out re.Replace("foo boo", "0")
re.Global = True: dbg.Out re.Replace("foo boo", "0")
re.Pattern = "(\w+)\s(\w+)": re.Global = False
dbg.Out re.Replace("John Smith", "$2, $1")
re.IgnoreCase = True: re.Global = True: re.Pattern = "A(\d)"
Dim ms, mm: Set ms = re.Execute("a1 b2 A3")
dbg.Out ms.Count & " " & ms(0).Value & " " & ms(1).SubMatches(0) & " " & ms(1).FirstIndex & " " & ms.Item(0).Length
For Each mm In ms: dbg.Out mm: Next
