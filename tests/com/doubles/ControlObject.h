#pragma once
// "OrvTestDoubles.Control": how a test configures the doubles and reads what they were asked
// to do. Plain IDispatch by name, scalars and strings only, so that a VBScript under Wine
// can use it as well as C++. Every new control object sees the one state of the process.
// Its own calls are not recorded.
//
// Configuration (properties, get and put):
//   AnalysisLog          String   what ExecuteJobFile writes as the analysis log
//   CsvLog               String   what it writes as the CSV log file beside the log;
//                                 "{LogFile}" and "{File1}".."{FileN}" become the job's paths
//   WriteCsvLog          Boolean  False: no CSV log file is written (default True)
//   TMPassword           String   Open refuses any other password with 50003 (empty: any)
//   TMSourceLanguage     Long     SourceLanguage of a TM that Open opens (1033)
//   TMTargetLanguages    String   its TargetLanguages, "1031,1036"
//   TargetLanguagesForm  String   array elements: "Variant" (default), "Long" or "Integer"
//   TargetLanguagesLowerBound Long the array's lower bound (0)
//   TargetLanguagesByReference Boolean  hand the array out by reference
//   CancelProcessedFiles Long     ExecuteJobFile first raises OnBatchCancelledByUser with
//                                 this number (-1, the default: no event)
//   EventDispId          Long     the dispatch id the event is fired with (1)
//   EventByReference     Boolean  the event's argument by reference (VT_BYREF | VT_I4)
//   TesseraCreationError Long     Tessera's class factory fails with this HRESULT (0: none)
//   WordCreationError    Long     the same for Word
//   WordRunning          Boolean  get: a Word is registered as running; put True: a Word
//                                 "started by the user" runs, put False: it ends
// Methods:
//   Reset()                       every running double ended, settings and record as new
//   FailMember(member As String, number As Long, description As String, times As Long)
//                                 the member ("Open", or qualified: "TM.Open",
//                                 "GeneralOptions.MaximumHits", "Application.Quit") fails
//                                 `times` times (-1: every time). A number from 1 to 65535
//                                 is raised as the application's error with that number and
//                                 description (empty: a text naming the member); a negative
//                                 number is an HRESULT that Invoke returns bare.
//   RaiseBatchCancelled(processedFiles As Long)  fires the event now on every running Tessera
//   CallCount(call As String) As Long  how often CallLog holds `call`
// Record (read-only properties):
//   CallLog               String  "Object.Member" per call ("Object.Member=" for a put),
//                                 one a line, CR LF between; objects: Application, TM, Word
//                                 and the group names
//   OptionWrites          String  "Group.Property=value" per write (Booleans True/False)
//   LastOpenArguments     String  Open's four arguments joined by "|"
//   LastCreateTMArguments String  CreateTM's sixteen arguments joined by "|"
//   LastJobFile           String  the text of the last job file ExecuteJobFile read
//   TargetLanguageSet     Long    the last TargetLanguage put (0: none)
//   TesseraCreated, TesseraQuit, TesseraRunning, WordCreated, WordQuit, TMOpened, TMClosed,
//   TMCreated, JobFilesRun, EventConnections   Long   counts

#include <cstdint>
#include <string>

#include "DispatchObject.h"
#include "DoublesState.h"

namespace orv::testdoubles {

class ControlObject final : public DispatchObject {
public:
    static HRESULT Create(REFIID iid, void** object);
    ControlObject();

private:
    void AddSetting(const wchar_t* name, std::wstring DoublesSettings::*field);
    void AddSetting(const wchar_t* name, int32_t DoublesSettings::*field);
    void AddSetting(const wchar_t* name, bool DoublesSettings::*field);
    void AddRecord(const wchar_t* name, int32_t DoublesRecord::*field);
    void AddRecord(const wchar_t* name, std::wstring DoublesRecord::*field);
    void AddRecord(const wchar_t* name, std::vector<std::wstring> DoublesRecord::*field);
};

}  // namespace orv::testdoubles
