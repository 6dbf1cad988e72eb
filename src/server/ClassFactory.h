#pragma once
// The class object of the Ramvel control class: one static instance for the module.
//
// CreateInstance checks its arguments and hands the build to CreateRamvelControl
// (ControlFactory.h), which reports a failed build in the "Erreur DAX" box.
#include <windows.h>
#include <unknwn.h>

namespace ramvel::server {

// Not AddRef'd: the object lives as long as the module.
IClassFactory* ClassObject();

// References that clients hold on the class object.
LONG ClassObjectReferences();

}  // namespace ramvel::server
