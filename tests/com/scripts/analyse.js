// A whole analysis from JScript through the Tessera double: the records by Enumerator and
// an error of the run as JScript shows it.
var failures = 0;
function check(ok, what) {
    if (!ok) {
        failures++;
        WScript.Echo("FAILED: " + what);
    }
}

var scratch = WScript.Arguments.Item(0);
var fso = new ActiveXObject("Scripting.FileSystemObject");
fso.CreateFolder(scratch + "\\out");
fso.CreateTextFile(scratch + "\\memory.tmv", true).Close();

var control = new ActiveXObject("OrvTestDoubles.Control");
control.Reset();
control.TMTargetLanguages = "1031";
control.CsvLog = ";;;Total;;;\r\nFile;Tagging Errors;Chars/Word;Segments;Words;Characters;Placeables\r\n" +
                 "{File1};0;6;3;30;180;1\r\n";

var ba = new ActiveXObject("OrvBatchAnalyse.BatchAnalyse");
ba.TranslationMemory = scratch + "\\memory.tmv";
ba.TranslationMemoryUserName = "anna";
ba.TranslationMemoryTargetLanguageId = 1031;
ba.LogFileName = scratch + "\\out\\run.log";
ba.Files.Add(scratch + "\\one.txt");
check(ba.Analyse() == true, "Analyse returns true");
var words = [];
for (var e = new Enumerator(ba.Files); !e.atEnd(); e.moveNext()) words.push(e.item().WordsTotal);
check(words.join(",") == "30", "words " + words.join(","));
check(control.TesseraQuit == 1, "Tessera quit");

control.TMPassword = "secret";
try {
    ba.Analyse();
    check(false, "a wrong password must fail");
} catch (error) {
    check((error.number & 0xFFFF) == 40016, "error " + (error.number & 0xFFFF));
    check(error.description == "Unknown error", error.description);
}

WScript.Echo("analyse.js: " + failures + " failure(s)");
WScript.Quit(failures);
