' The stand-in over the tests' fake application, as a script reaches Tessera: created by
' ProgID, its TM and option groups by name, the application's errors in Err. The fake as
' the DLL starts refuses to open a TM with the text of a wrong password, and target
' language 9999.
Option Explicit
Dim failures : failures = 0

Sub Check(ok, what)
    If Not ok Then
        failures = failures + 1
        WScript.Echo "FAILED: " & what
    End If
End Sub

Dim scratch : scratch = WScript.Arguments(0)
Dim app : Set app = CreateObject("Tessapp.Application")
Dim tm : Set tm = app.CurrentTM
Check Not tm.IsOpen, "a new application's TM is closed"

On Error Resume Next
tm.Open scratch & "\main.tmv", "anna", "wrong", "w"
Check Err.Number = 50001, "a wrong password fails with 50001, not " & Err.Number
Check InStr(Err.Description, "50003") > 0, "the description names 50003: " & Err.Description
Err.Clear
On Error GoTo 0
Check Not tm.IsOpen, "the TM stays closed"

app.CreateTM scratch & "\new.tmv", "", 1033, "", 1031, "", -1, -1, -1, -1, -1, -1, -1, "", "", ""
Check tm.IsOpen, "CreateTM opens the TM"
Check tm.SourceLanguage = 1033, "SourceLanguage of the new TM"
Dim languages : languages = tm.TargetLanguages
Check IsArray(languages), "TargetLanguages is an array"
Check UBound(languages) = LBound(languages), "the new TM has one target language"
Check languages(LBound(languages)) = 1031, "its target language"
tm.TargetLanguage = 1031

On Error Resume Next
tm.TargetLanguage = 9999
Check Err.Number = 50400, "a refused target language fails with 50400, not " & Err.Number
Err.Clear
On Error GoTo 0

app.GeneralOptions.MaximumHits = 7
Check app.GeneralOptions.MaximumHits = 7, "an option reads back what was written"
app.ToolsOptions.BackupPath = "C:\backup"
Check app.ToolsOptions.BackupPath = "C:\backup", "a text option reads back"
app.TermRecognitionOptions.Enable = True
Check app.TermRecognitionOptions.Enable, "a Boolean option reads back"

app.RequestCancel
Check app.LastJobFailure = "", "no job has failed"

app.Quit
On Error Resume Next
Dim stillOpen : stillOpen = tm.IsOpen
Check Err.Number <> 0, "the TM answers no more after Quit"
On Error GoTo 0

WScript.Quit failures
