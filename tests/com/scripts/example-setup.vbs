' Makes the folder that the README's example script expects: the TM, two documents and the
' folder for the logs. What Tessera's double logs for them is example-csv-log.txt.
Dim scratch : scratch = WScript.Arguments(0)
Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")
fso.CreateFolder scratch & "\docs"
fso.CreateFolder scratch & "\out"
fso.CreateTextFile(scratch & "\memory.tmv", True).Close
fso.CreateTextFile(scratch & "\docs\chapter1.txt", True).Close
fso.CreateTextFile(scratch & "\docs\chapter2.txt", True).Close
