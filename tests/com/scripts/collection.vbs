' Files as a script uses it: Add, positions and keys in any form, For Each, Count, Remove,
' the same record object every time, and the collection's errors by number.
Option Explicit
Dim failures : failures = 0

Sub Check(ok, what)
    If Not ok Then
        failures = failures + 1
        WScript.Echo "FAILED: " & what
    End If
End Sub

Dim ba : Set ba = CreateObject("OrvBatchAnalyse.BatchAnalyse")
Check ba.Files Is ba.Files, "two reads of Files give the same object"
Check ba.ExportUnknownMaxMatch = 85, "ExportUnknownMaxMatch starts at 85"
Check ba.ExportFrequentOccurrences = 5, "ExportFrequentOccurrences starts at 5"
Check ba.GetLogFileContent() = "not implemented", "GetLogFileContent"

Dim first : Set first = ba.Files.Add("C:\docs\one.txt", "One")
ba.Files.Add "C:\docs\two.txt"
ba.Files.Add "C:\docs\three.txt", "Three"
Check ba.Files.Count = 3, "Count after three Add"
Check first Is ba.Files(1), "the record added is the record at position 1"
Check first Is ba.Files.Item("ONE"), "keys ignore letter case"
Dim position : position = 2
Check ba.Files(position).FilePath = "C:\docs\two.txt", "position in a variable"
Check ba.Files(1.0 + 2).FilePath = "C:\docs\three.txt", "position as a Double"
Check ba.Files(2).Key = "", "a record added without a key has an empty key"

Dim paths, record
paths = ""
For Each record In ba.Files
    paths = paths & record.FilePath & ";"
Next
Check paths = "C:\docs\one.txt;C:\docs\two.txt;C:\docs\three.txt;", "For Each order: " & paths

' Records keep their state rules through the interface.
first.WordsTotal = 10
first.FileProcessed = True
Check ba.Files("one").WordsTotal = 10, "a change through one reference shows in the other"
first.FilePath = "C:\docs\uno.txt"
Check first.WordsTotal = 0 And Not first.FileProcessed, "setting FilePath clears the record"

Dim number
On Error Resume Next
ba.Files.Add "C:\docs\again.txt", "one"
number = Err.Number : Err.Clear
On Error GoTo 0
Check number = 457, "a duplicate key gives 457, got " & number
Check ba.Files.Count = 3, "nothing was added"

On Error Resume Next
Set record = ba.Files(9)
number = Err.Number : Err.Clear
On Error GoTo 0
Check number = 9, "a position out of range gives 9, got " & number

ba.Files.Remove 1
Check ba.Files(1).FilePath = "C:\docs\two.txt", "after Remove 1 the second is first"

Dim own : Set own = CreateObject("OrvBatchAnalyse.clsBAFileInfo")
own.CharsPerWord = 5.5
Check own.CharsPerWord = 5.5, "a record created by the script keeps CharsPerWord"

Set ba.Files = Nothing
Check ba.Files.Count = 0, "after putting Nothing the next read gives a new, empty collection"

WScript.Echo "collection.vbs: " & failures & " failure(s)"
WScript.Quit failures
