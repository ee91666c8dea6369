// Files as JScript uses it: Enumerator, Item, and error numbers as JScript shows them.
var failures = 0;
function check(ok, what) {
    if (!ok) {
        failures++;
        WScript.Echo("FAILED: " + what);
    }
}

var ba = new ActiveXObject("OrvBatchAnalyse.BatchAnalyse");
var files = ba.Files;
files.Add("C:\\docs\\one.txt", "One");
files.Add("C:\\docs\\two.txt");
check(files.Count == 2, "Count");
check(files.Item(1).Key == "One", "Item(1)");
check(files.Item("one").FilePath == "C:\\docs\\one.txt", "Item by key");

var paths = [];
for (var e = new Enumerator(files); !e.atEnd(); e.moveNext()) paths.push(e.item().FilePath);
check(paths.join(";") == "C:\\docs\\one.txt;C:\\docs\\two.txt", "Enumerator order: " + paths.join(";"));

try {
    ba.Analyse();
    check(false, "Analyse without a TM must fail");
} catch (error) {
    check((error.number & 0xFFFF) == 40013, "error number " + (error.number & 0xFFFF));
    check(error.description.indexOf("No translation memory specified.") == 0, error.description);
}

WScript.Echo("collection.js: " + failures + " failure(s)");
WScript.Quit(failures);
