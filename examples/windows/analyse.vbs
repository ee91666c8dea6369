' Analyses two documents against a TM and prints each document's figures.
' Usage: cscript //nologo analyse.vbs FOLDER   (FOLDER holds memory.tmv, docs\ and out\)
Option Explicit
Dim folder : folder = WScript.Arguments(0)

Dim ba : Set ba = CreateObject("OrvBatchAnalyse.BatchAnalyse")
ba.TranslationMemory = folder & "\memory.tmv"
ba.TranslationMemoryUserName = "anna"
ba.TranslationMemoryTargetLanguageId = 1031        ' German (Germany)
ba.LogFileName = folder & "\out\analysis.log"
ba.Files.Add folder & "\docs\chapter1.txt", "ch1"
ba.Files.Add folder & "\docs\chapter2.txt", "ch2"

On Error Resume Next
ba.Analyse
If Err.Number <> 0 Then
    WScript.Echo "Analysis failed: error " & Err.Number & ": " & Err.Description
    WScript.Quit 1
End If
On Error GoTo 0

Dim record
For Each record In ba.Files
    WScript.Echo record.Key & ": " & record.WordsTotal & " words, " & _
        record.WordsIn100Matches & " in 100% matches, " & record.WordsInNoMatches & " new"
Next
WScript.Echo ba.GetCsvLogFileContentWithoutHeader()
