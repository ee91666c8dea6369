// The example batch analysed from JScript against the embedded engine registered as Tessera:
// every figure of every document printed as the VBScript client prints them, so that both
// are held to the native orvbatch's reading of the same batch (examples.expected).
var failures = 0;
function check(ok, what) {
    if (!ok) {
        failures++;
        WScript.Echo("FAILED: " + what);
    }
}

// Wine's ExpandEnvironmentStrings gives the terminating NUL with the text.
function environment(name) {
    var text = new ActiveXObject("WScript.Shell").ExpandEnvironmentStrings("%" + name + "%");
    var nul = text.indexOf(String.fromCharCode(0));
    return nul >= 0 ? text.substring(0, nul) : text;
}

var scratch = WScript.Arguments.Item(0);
var examples = environment("ORV_EXAMPLES_DIR");
var fso = new ActiveXObject("Scripting.FileSystemObject");
fso.CopyFile(examples + "\\memory.tmx", scratch + "\\memory.tmx");
fso.CopyFolder(examples + "\\docs", scratch + "\\docs");
fso.CreateFolder(scratch + "\\out");

// The documents in the order the expectation lists them, which is orvbatch's order for the
// folder: Wine's JScript cannot enumerate the file system object's collections.
var names = [];
var lines = fso.OpenTextFile(environment("ORV_ENGINE_FIXTURES_DIR") + "\\examples.expected")
                .ReadAll().split("\n");
for (var l = 0; l < lines.length; l++) {
    var name = lines[l].split(" ")[0];
    if (name != "" && (names.length == 0 || names[names.length - 1] != name)) names.push(name);
}

var ba = new ActiveXObject("OrvBatchAnalyse.BatchAnalyse");
ba.TranslationMemory = scratch + "\\memory.tmx";
ba.TranslationMemoryUserName = "demo";
ba.TranslationMemoryTargetLanguageId = 1031;
ba.LogFileName = scratch + "\\out\\analysis.log";
ba.CreateProjectTMFileName = scratch + "\\out\\project.tmx";
for (var i = 0; i < names.length; i++) ba.Files.Add(scratch + "\\docs\\" + names[i], names[i]);
check(ba.Analyse() == true, "Analyse returns true");

var fields = ["CharactersTotal", "CharsPerWord", "FileProcessed", "PercentIn100Matches",
    "PercentIn50Matches", "PercentIn75Matches", "PercentIn85Matches", "PercentIn95Matches",
    "PercentInNoMatches", "PercentInRelay", "PercentInRepetitions", "PlaceablesIn100Matches",
    "PlaceablesIn50Matches", "PlaceablesIn75Matches", "PlaceablesIn85Matches",
    "PlaceablesIn95Matches", "PlaceablesInNoMatches", "PlaceablesInRelay",
    "PlaceablesInRepetitions", "PlaceablesTotal", "ProcessingError", "SegmentsIn100Matches",
    "SegmentsIn50Matches", "SegmentsIn75Matches", "SegmentsIn85Matches", "SegmentsIn95Matches",
    "SegmentsInNoMatches", "SegmentsInRelay", "SegmentsInRepetitions", "SegmentsTotal",
    "TaggingErrors", "WordsIn100Matches", "WordsIn50Matches", "WordsIn75Matches",
    "WordsIn85Matches", "WordsIn95Matches", "WordsInNoMatches", "WordsInRelay",
    "WordsInRepetitions", "WordsTotal"];
for (var d = 0; d < names.length; d++) {
    var record = ba.Files.Item(names[d]);
    for (var f = 0; f < fields.length; f++) {
        var value = record[fields[f]];
        if (fields[f] == "CharsPerWord")
            WScript.Echo(names[d] + " CharsPerWord*100=" + Math.floor(value * 100 + 0.5));
        else if (typeof value == "boolean")
            WScript.Echo(names[d] + " " + fields[f] + "=" + (value ? "True" : "False"));
        else
            WScript.Echo(names[d] + " " + fields[f] + "=" + value);
    }
}
check(fso.FileExists(scratch + "\\out\\project.tmx"), "the project TM is written");
WScript.Quit(failures);
