' Analyse refuses an incomplete job with the component's own numbers and messages, which a
' script reads from Err exactly as they are.
Option Explicit
Dim failures : failures = 0

Sub Check(ok, what)
    If Not ok Then
        failures = failures + 1
        WScript.Echo "FAILED: " & what
    End If
End Sub

Dim required
required = vbCrLf & "Required properties are:" & vbCrLf & _
    "1. path to tm; 2. user name; 3. target language" & vbCrLf & "or" & vbCrLf & _
    "1. source language; 2. target language (with CreateEmptyTM = true)"

Dim scratch : scratch = WScript.Arguments(0)
Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")
Dim tmPath : tmPath = scratch & "\memory.tmv"
fso.CreateTextFile(tmPath, True).Close

' Each case: what the script sets, then the number and message it must get.
Sub Expect(setUp, number, message)
    Dim ba : Set ba = CreateObject("OrvBatchAnalyse.BatchAnalyse")
    If InStr(setUp, "tm") > 0 Then ba.TranslationMemory = tmPath
    If InStr(setUp, "missing") > 0 Then ba.TranslationMemory = scratch & "\none.tmv"
    If InStr(setUp, "user") > 0 Then ba.TranslationMemoryUserName = "anna"
    If InStr(setUp, "empty") > 0 Then ba.CreateEmptyTM = True
    If InStr(setUp, "source") > 0 Then ba.TranslationMemorySourceLanguageId = 1031
    On Error Resume Next
    Dim result : result = ba.Analyse
    Dim gotNumber : gotNumber = Err.Number
    Dim gotMessage : gotMessage = Err.Description
    On Error GoTo 0
    Check gotNumber = number, setUp & ": Err.Number " & gotNumber & ", expected " & number
    Check gotMessage = message, setUp & ": Err.Description [" & gotMessage & "]"
End Sub

Expect "nothing", 40013, "No translation memory specified." & required
Expect "missing", 40015, "Translation memory doesn't exist."
Expect "tm", 40014, "No user name specified." & required
Expect "tm user", 40012, "No target language specified." & required
Expect "empty", 40011, "No source language specified." & required
Expect "empty source", 40012, "No target language specified." & required

WScript.Echo "validation.vbs: " & failures & " failure(s)"
WScript.Quit failures
