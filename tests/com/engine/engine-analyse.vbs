' A whole analysis against the embedded engine registered as Tessera: the example batch with
' its exports and project TM, every figure of every document printed in the order the native
' orvbatch's reading of the same batch gives them (examples.expected), then the protected TM
' refused for each wrong way in and analysed with the right one. Prints nothing else unless a
' check fails.
Option Explicit
Dim failures : failures = 0

Sub Check(ok, what)
    If Not ok Then
        failures = failures + 1
        WScript.Echo "FAILED: " & what
    End If
End Sub

' Wine's ExpandEnvironmentStrings gives the terminating NUL with the text.
Function Environment(name)
    Dim text : text = CreateObject("WScript.Shell").ExpandEnvironmentStrings("%" & name & "%")
    Dim nul : nul = InStr(text, Chr(0))
    If nul > 0 Then text = Left(text, nul - 1)
    Environment = text
End Function

Dim scratch : scratch = WScript.Arguments(0)
Dim examples : examples = Environment("ORV_EXAMPLES_DIR")
Dim fixtures : fixtures = Environment("ORV_ENGINE_FIXTURES_DIR")
Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")
fso.CopyFile examples & "\memory.tmx", scratch & "\memory.tmx"
fso.CopyFolder examples & "\docs", scratch & "\docs"
fso.CopyFile fixtures & "\protected.tmx", scratch & "\protected.tmx"
fso.CreateFolder scratch & "\out"

' The documents in name order, as orvbatch takes a folder's.
' A fixed array: Wine's VBScript fails on ReDim of a dynamic one.
Dim names(63), count : count = 0
Dim file, i, j, held : i = 0
For Each file In fso.GetFolder(scratch & "\docs").Files
    names(count) = file.Name : count = count + 1
Next
For i = 0 To count - 2
    For j = i + 1 To count - 1
        If StrComp(names(j), names(i), vbBinaryCompare) < 0 Then
            held = names(i) : names(i) = names(j) : names(j) = held
        End If
    Next
Next

Function NewBatch(tm, user, password)
    Dim ba : Set ba = CreateObject("OrvBatchAnalyse.BatchAnalyse")
    ba.TranslationMemory = scratch & "\" & tm
    ba.TranslationMemoryUserName = user
    ba.TranslationMemoryPassword = password
    ba.TranslationMemoryTargetLanguageId = 1031
    ba.LogFileName = scratch & "\out\analysis.log"
    Set NewBatch = ba
End Function

Dim ba : Set ba = NewBatch("memory.tmx", "demo", "")
ba.ExportUnknownFileName = scratch & "\out\unknown.txt"
ba.ExportFrequentFileName = scratch & "\out\frequent.txt"
ba.ExportFrequentOccurrences = 2
ba.CreateProjectTMFileName = scratch & "\out\project.tmx"
For i = 0 To count - 1
    ba.Files.Add scratch & "\docs\" & names(i), names(i)
Next
Check ba.Analyse() = True, "Analyse returns True"

Dim r, name
For i = 0 To count - 1
    name = names(i)
    Set r = ba.Files(name)
    WScript.Echo name & " CharactersTotal=" & r.CharactersTotal
    WScript.Echo name & " CharsPerWord*100=" & Int(r.CharsPerWord * 100 + 0.5)
    WScript.Echo name & " FileProcessed=" & r.FileProcessed
    WScript.Echo name & " PercentIn100Matches=" & r.PercentIn100Matches
    WScript.Echo name & " PercentIn50Matches=" & r.PercentIn50Matches
    WScript.Echo name & " PercentIn75Matches=" & r.PercentIn75Matches
    WScript.Echo name & " PercentIn85Matches=" & r.PercentIn85Matches
    WScript.Echo name & " PercentIn95Matches=" & r.PercentIn95Matches
    WScript.Echo name & " PercentInNoMatches=" & r.PercentInNoMatches
    WScript.Echo name & " PercentInRelay=" & r.PercentInRelay
    WScript.Echo name & " PercentInRepetitions=" & r.PercentInRepetitions
    WScript.Echo name & " PlaceablesIn100Matches=" & r.PlaceablesIn100Matches
    WScript.Echo name & " PlaceablesIn50Matches=" & r.PlaceablesIn50Matches
    WScript.Echo name & " PlaceablesIn75Matches=" & r.PlaceablesIn75Matches
    WScript.Echo name & " PlaceablesIn85Matches=" & r.PlaceablesIn85Matches
    WScript.Echo name & " PlaceablesIn95Matches=" & r.PlaceablesIn95Matches
    WScript.Echo name & " PlaceablesInNoMatches=" & r.PlaceablesInNoMatches
    WScript.Echo name & " PlaceablesInRelay=" & r.PlaceablesInRelay
    WScript.Echo name & " PlaceablesInRepetitions=" & r.PlaceablesInRepetitions
    WScript.Echo name & " PlaceablesTotal=" & r.PlaceablesTotal
    WScript.Echo name & " ProcessingError=" & r.ProcessingError
    WScript.Echo name & " SegmentsIn100Matches=" & r.SegmentsIn100Matches
    WScript.Echo name & " SegmentsIn50Matches=" & r.SegmentsIn50Matches
    WScript.Echo name & " SegmentsIn75Matches=" & r.SegmentsIn75Matches
    WScript.Echo name & " SegmentsIn85Matches=" & r.SegmentsIn85Matches
    WScript.Echo name & " SegmentsIn95Matches=" & r.SegmentsIn95Matches
    WScript.Echo name & " SegmentsInNoMatches=" & r.SegmentsInNoMatches
    WScript.Echo name & " SegmentsInRelay=" & r.SegmentsInRelay
    WScript.Echo name & " SegmentsInRepetitions=" & r.SegmentsInRepetitions
    WScript.Echo name & " SegmentsTotal=" & r.SegmentsTotal
    WScript.Echo name & " TaggingErrors=" & r.TaggingErrors
    WScript.Echo name & " WordsIn100Matches=" & r.WordsIn100Matches
    WScript.Echo name & " WordsIn50Matches=" & r.WordsIn50Matches
    WScript.Echo name & " WordsIn75Matches=" & r.WordsIn75Matches
    WScript.Echo name & " WordsIn85Matches=" & r.WordsIn85Matches
    WScript.Echo name & " WordsIn95Matches=" & r.WordsIn95Matches
    WScript.Echo name & " WordsInNoMatches=" & r.WordsInNoMatches
    WScript.Echo name & " WordsInRelay=" & r.WordsInRelay
    WScript.Echo name & " WordsInRepetitions=" & r.WordsInRepetitions
    WScript.Echo name & " WordsTotal=" & r.WordsTotal
Next

Dim output
For Each output In Array("analysis.log", "analysis.csv", "unknown.txt", "frequent.txt", "project.tmx")
    Check fso.FileExists(scratch & "\out\" & output), output & " written"
    If fso.FileExists(scratch & "\out\" & output) Then
        Check fso.GetFile(scratch & "\out\" & output).Size > 0, output & " is not empty"
    End If
Next
If fso.FileExists(scratch & "\out\project.tmx") Then
    Check InStr(fso.OpenTextFile(scratch & "\out\project.tmx").ReadAll(), "<tmx") > 0, _
          "the project TM is a TMX file"
End If
Check Len(ba.GetCsvLogFileContentWithoutHeader()) > 0, "the CSV rows are returned"

' The protected TM: anna's password is "s3cret"; each wrong way in is refused with 40016.
Sub ExpectRefused(user, password, what)
    Dim batch : Set batch = NewBatch("protected.tmx", user, password)
    batch.Files.Add scratch & "\docs\" & names(0), "only"
    On Error Resume Next
    batch.Analyse
    Dim number : number = Err.Number
    On Error GoTo 0
    Check number = 40016, what & ": Err.Number " & number & ", expected 40016"
End Sub
ExpectRefused "anna", "wrong", "a wrong password"
ExpectRefused "anna", "", "an empty password"
ExpectRefused "bruno", "s3cret", "an unknown user"
Dim right : Set right = NewBatch("protected.tmx", "anna", "s3cret")
right.Files.Add scratch & "\docs\" & names(0), "only"
Check right.Analyse() = True, "the right password analyses"
Check right.Files("only").FileProcessed, "the document was analysed with the right password"

WScript.Quit failures
