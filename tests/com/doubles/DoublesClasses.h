#pragma once
// The classes the doubles' DLL serves, as one table (ServedClasses, ClassRegistration.h):
// what DllGetClassObject hands out and what registration writes.

#include "com/objects/ClassRegistration.h"
