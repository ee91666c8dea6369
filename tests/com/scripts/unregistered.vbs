' After regsvr32 /u the component's classes are gone: CreateObject fails with 429.
Option Explicit
Dim failures : failures = 0
Dim progId, number
For Each progId In Array("OrvBatchAnalyse.BatchAnalyse", "OrvBatchAnalyse.clsBAFileInfo", _
                         "OrvBatchAnalyse.clsBATessera")
    On Error Resume Next
    Dim object : Set object = CreateObject(progId)
    number = Err.Number : Err.Clear
    On Error GoTo 0
    If number <> 429 Then
        failures = failures + 1
        WScript.Echo "FAILED: " & progId & " gave " & number & ", expected 429"
    End If
Next
WScript.Echo "unregistered.vbs: " & failures & " failure(s)"
WScript.Quit failures
