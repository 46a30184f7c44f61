// The script methods as the host sees them: the method table text, the dispatcher, and the
// registration and object life-cycle operations of the library.
#pragma once

#include <cstdint>

#include "plugin/HostInterfaces.h"
#include "plugin/ScriptObject.h"

namespace OZKPELLMOR {

// The method table text registered as "msgTable"; the host numbers its methods from 0 ("new").
const char* MethodTableText();

// Checks the argument count, runs the method numbered `call->methodNumber` on `object`, and
// answers its result code. Never lets an exception out.
HostResult CallHandler(ScriptObject& object, HostCallRecord* call) noexcept;

// Registration method of the registration class.
HostResult RegisterXtra(IHostRegistrationCache* cache, IHostDictionary* extension) noexcept;

// Create and destroy operations of the script class. Nothing is thrown across the host's calls.
HostResult OZK_HOSTCALL CreateScriptObject(HostObjectHeader* instance) noexcept;
void OZK_HOSTCALL DestroyScriptObject(HostObjectHeader* instance) noexcept;

}  // namespace OZKPELLMOR
