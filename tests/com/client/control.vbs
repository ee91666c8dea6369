' The doubles as a script reaches them: the control sets them up and reports, Tessera's and
' Word's doubles answer by name, and their errors arrive in Err as the real applications'
' would.
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
Dim tmPath : tmPath = scratch & "\main.tmv"
fso.CreateTextFile(tmPath, True).Close

Dim ctl : Set ctl = CreateObject("OrvTestDoubles.Control")
ctl.Reset
ctl.TMPassword = "right"
ctl.TMTargetLanguages = "1031,2057"
Check ctl.TMPassword = "right", "a setting reads back"

Dim app : Set app = CreateObject("Tessapp.Application")
Check ctl.TesseraCreated = 1, "TesseraCreated after CreateObject"
Check ctl.TesseraRunning = 1, "TesseraRunning after CreateObject"

On Error Resume Next
app.CurrentTM.Open tmPath, "anna", "wrong", "w"
Check Err.Number = 50003, "a wrong password gives 50003, not " & Err.Number
Check InStr(Err.Description, "50003") > 0, "the description names 50003: " & Err.Description
Check Err.Source = "Tessapp", "the source is Tessera's: " & Err.Source
Err.Clear
app.CurrentTM.Open tmPath, "anna", "right", "w"
Check Err.Number = 0, "the right password opens the TM: " & Err.Description
Check app.CurrentTM.IsOpen, "the TM is open"
Check ctl.LastOpenArguments = tmPath & "|anna|right|w", "Open's arguments: " & ctl.LastOpenArguments
Dim languages : languages = app.CurrentTM.TargetLanguages
Check UBound(languages) = 1, "two target languages"
Check languages(1) = 2057, "the second target language"

ctl.FailMember "GeneralOptions.MaximumHits", 50200, "Maximum hits out of range", 1
Err.Clear
app.GeneralOptions.MaximumHits = 5000
Check Err.Number = 50200, "a refused option write gives the number asked for: " & Err.Number
Check Err.Description = "Maximum hits out of range", "and its description"
Err.Clear
app.GeneralOptions.MaximumHits = 50
Check Err.Number = 0, "the failure was asked for once only"
Check ctl.OptionWrites = "GeneralOptions.MaximumHits=50", "OptionWrites: " & ctl.OptionWrites
Check ctl.CallCount("GeneralOptions.MaximumHits=") = 2, "both writes are in the call log"
On Error GoTo 0

app.Quit
Check ctl.TesseraQuit = 1, "TesseraQuit after Quit"
Check ctl.TesseraRunning = 0, "no Tessera runs after Quit"

Dim word : Set word = CreateObject("Word.Application")
Check ctl.WordRunning, "a created Word runs"
word.Quit
Check ctl.WordQuit = 1, "WordQuit after Quit"
Check Not ctl.WordRunning, "no Word runs after Quit"
ctl.WordRunning = True
Check ctl.WordRunning And ctl.WordCreated = 1, "a Word the user started runs and was not created"

ctl.Reset
Check ctl.TesseraCreated = 0 And Not ctl.WordRunning, "Reset ends everything"
WScript.Quit failures
