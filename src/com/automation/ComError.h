#pragma once
// Errors across the COM boundary, both ways. Outward, an AutomationError becomes what an
// automation client reads as Err.Number, Err.Source and Err.Description: error info set on
// the thread and an HRESULT in FACILITY_CONTROL whose low word is the number. Inward, a
// failed call into another server becomes an AutomationError with that server's own
// number, source and description, untranslated.

#include <windows.h>

#include <oaidl.h>

#include <cstdint>
#include <string>

#include "platform/AutomationError.h"

namespace orv::com {

// The HRESULT that carries `number` to an automation client: 0x800A0000 + number for the
// numbers a client shows as they are (1 to 65535); a number that already is an HRESULT
// (negative, as errors of other servers arrive) passes unchanged; 0 becomes E_FAIL.
HRESULT HresultFromErrorNumber(int32_t number);

// The number a client would show for `hr`: the low word of a FACILITY_CONTROL failure,
// else the HRESULT itself.
int32_t ErrorNumberFromHresult(HRESULT hr);

// Sets the thread's error info (interface `iid`, the error's source and description, no
// help file) and returns the error's HRESULT, for a method to return at once.
HRESULT ReportError(const AutomationError& error, REFIID iid);

// For the catch-all of every COM entry point: reports the exception being handled. An
// AutomationError as above; std::bad_alloc as E_OUTOFMEMORY; anything else as
// E_UNEXPECTED with its text as description. Call only inside a catch block.
HRESULT ReportCurrentException(REFIID iid) noexcept;

// The error of a failed IDispatch::Invoke: from the exception info when the server gave
// one (DISP_E_EXCEPTION, deferred fill-in honoured), else from the thread's error info,
// else from the HRESULT alone with the system's message for it.
AutomationError ErrorFromInvoke(HRESULT hr, EXCEPINFO* info);

// The error of any other failed call (CoCreateInstance, QueryInterface, ...): the thread's
// error info when the callee set one, else the HRESULT and the system's message for it.
AutomationError ErrorFromHresult(HRESULT hr);

}  // namespace orv::com
