// The one place where the type library's identifiers are defined rather than declared.
#include <initguid.h>

#include "OrvBatchAnalyse_h.h"
