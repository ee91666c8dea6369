// The type library's identifiers, defined once for the test program.
#include <initguid.h>

#include "OrvBatchAnalyse_h.h"
