' A whole analysis as a script client runs it, through the Tessera double: the records and
' CSV texts it fills, Tessera and Word started and closed as asked, and the errors of the
' run by their numbers.
Option Explicit
Dim failures : failures = 0

Sub Check(ok, what)
    If Not ok Then
        failures = failures + 1
        WScript.Echo "FAILED: " & what
    End If
End Sub

Dim scratch : scratch = WScript.Arguments(0)
Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")
fso.CreateFolder scratch & "\docs"
fso.CreateFolder scratch & "\out"
fso.CreateTextFile(scratch & "\memory.tmv", True).Close

Dim labels, columns, rowA, rowB
labels = ";;;Repetitions;;;;100% Matches;;;;No Match;;;;Total;;;"
columns = "File;Tagging Errors;Chars/Word;Segments;Words;Placeables;Percent;Segments;Words;" & _
          "Placeables;Percent;Segments;Words;Placeables;Percent;Segments;Words;Characters;Placeables"
rowA = ";0;5.5;2;10;0;5;8;190;3;95;0;0;0;0;10;200;1100;3"
rowB = ";1;4.25;0;0;0;0;1;15;0;27;3;40;2;73;4;55;230;2"

Dim control : Set control = CreateObject("OrvTestDoubles.Control")

' A fresh double and a fresh BatchAnalyse set up for a run against the TM.
Function NewBatch()
    control.Reset
    control.TMSourceLanguage = 1033
    control.TMTargetLanguages = "1031,1036"
    control.CsvLog = labels & vbCrLf & columns & vbCrLf & "{File1}" & rowA & vbCrLf & _
                     "{File2}" & rowB & vbCrLf
    Dim ba : Set ba = CreateObject("OrvBatchAnalyse.BatchAnalyse")
    ba.TranslationMemory = scratch & "\memory.tmv"
    ba.TranslationMemoryUserName = "anna"
    ba.TranslationMemoryTargetLanguageId = 1036
    ba.LogFileName = scratch & "\out\run.log"
    ba.Files.Add scratch & "\docs\a.txt", "A"
    ba.Files.Add scratch & "\docs\b.txt", "B"
    Set NewBatch = ba
End Function

' --- a run and its results
Dim ba : Set ba = NewBatch()
Check ba.Analyse() = True, "Analyse returns True"
Dim a : Set a = ba.Files("A")
Check a.FileProcessed And Not a.ProcessingError, "A processed"
Check a.WordsTotal = 200 And a.WordsIn100Matches = 190 And a.CharactersTotal = 1100, _
      "A's words " & a.WordsTotal & "/" & a.WordsIn100Matches & "/" & a.CharactersTotal
Check a.CharsPerWord = 5.5, "A's CharsPerWord " & a.CharsPerWord
Check a.SegmentsIn95Matches = -1, "a band the log lacks is -1, got " & a.SegmentsIn95Matches
Dim b : Set b = ba.Files(2)
Check b.TaggingErrors = 1 And b.WordsInNoMatches = 40 And b.PercentInNoMatches = 73, "B's figures"
Dim record, processed : processed = 0
For Each record In ba.Files
    If record.FileProcessed Then processed = processed + 1
Next
Check processed = 2, "For Each sees both records processed"
Dim rows : rows = scratch & "\docs\a.txt" & rowA & vbCrLf & scratch & "\docs\b.txt" & rowB
Check ba.GetCsvLogFileContentWithoutHeader() = rows, "CSV without header: " & ba.GetCsvLogFileContentWithoutHeader()
Check ba.GetCsvLogFileContent() = labels & vbCrLf & columns & vbCrLf & rows, "CSV with header"
Check control.TesseraCreated = 1 And control.TesseraQuit = 1, "Analyse started Tessera and quit it"
Check control.TMOpened = 1 And control.TMClosed >= 1, "the TM was opened and closed"
Check control.TargetLanguageSet = 1036, "the target language was selected"
Check control.JobFilesRun = 1, "one job ran"
Check InStr(control.LastJobFile, "File2 = """ & scratch & "\docs\b.txt""") > 0, "the job listed b.txt"

' --- StartTessera keeps one Tessera across analyses until CloseTessera
Set ba = NewBatch()
Check ba.StartTessera() = True, "first StartTessera"
Check ba.StartTessera() = False, "second StartTessera"
ba.Analyse
ba.Analyse
Check control.TesseraCreated = 1 And control.TesseraQuit = 0, "Tessera still runs after two analyses"
Check ba.CloseTessera() = True, "CloseTessera"
Check control.TesseraQuit = 1, "CloseTessera quit Tessera"

' --- Word in the background, quit with Tessera; a Word the user runs is left alone
Set ba = NewBatch()
ba.LoadWordObject = True
ba.Analyse
Check control.WordCreated = 1 And control.WordQuit = 1, "Word started and quit: " & _
      control.WordCreated & "/" & control.WordQuit
Set ba = NewBatch()
control.WordRunning = True
ba.LoadWordObject = True
ba.Analyse
Check control.WordCreated = 0 And control.WordQuit = 0 And control.WordRunning, "the user's Word untouched"

' --- the run's errors, each with its number and message
Sub ExpectError(ba, number, message, what)
    On Error Resume Next
    ba.Analyse
    Dim gotNumber : gotNumber = Err.Number
    Dim gotMessage : gotMessage = Err.Description
    On Error GoTo 0
    Check gotNumber = number, what & ": Err.Number " & gotNumber & ", expected " & number
    Check gotMessage = message, what & ": Err.Description [" & gotMessage & "]"
    Check control.TesseraRunning = 0, what & ": Tessera was quit after the error"
End Sub

Set ba = NewBatch()
control.TMPassword = "secret"
ba.TranslationMemoryPassword = "wrong"
ExpectError ba, 40016, "Unknown error", "wrong password"

Set ba = NewBatch()
control.TesseraCreationError = &H80004005
ExpectError ba, 40001, "Unable to open Tessera", "Tessera cannot be created"

Set ba = NewBatch()
ba.TranslationMemoryTargetLanguageId = 2057
ExpectError ba, 40008, "Unknown error", "target language not in the TM"

Set ba = NewBatch()
ba.TranslationMemorySourceLanguageId = 1040
ExpectError ba, 40009, "Unknown error", "source language differs"

Set ba = NewBatch()
control.FailMember "ExecuteJobFile", 50001, "the job failed", 1
ExpectError ba, 40002, "Error during analysis.", "job run fails"

' The log of an earlier run would be read as this one's: the component does not delete it.
Set ba = NewBatch()
ba.LogFileName = scratch & "\out\never-written.log"
control.WriteCsvLog = False
ExpectError ba, 40005, "Unable to find log file.", "no CSV log"

WScript.Echo "analyse.vbs: " & failures & " failure(s)"
WScript.Quit failures
