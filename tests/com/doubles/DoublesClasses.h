#pragma once
// The classes the doubles' DLL serves, as one table: what DllGetClassObject hands out and
// what registration writes.

#include <windows.h>

#include <vector>

#include "ClassFactory.h"

namespace orv::testdoubles {

struct DoublesClass {
    const CLSID& classId;
    const wchar_t* progId;
    const wchar_t* description;
    ClassFactory& factory;
};

const std::vector<DoublesClass>& DoublesClasses();

}  // namespace orv::testdoubles
