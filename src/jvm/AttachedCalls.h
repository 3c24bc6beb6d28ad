// Calls into a running VM from a thread of the launcher's own (a service's stop request),
// attached for the call and detached after it, so that the VM's destruction never waits for it.
#pragma once

#include "jvm/Jni.h"

#include <string>
#include <vector>

// Calls the static void methodName(String[]) of the class (slash form) with the arguments.
// False when the thread cannot attach or the class or the method is missing (what the VM
// raised is printed on its standard error); true once the method has run, whether it returned
// or threw (a throw is printed as well).
[[nodiscard]] bool callStaticOnAttachedThread(JavaVM* vm, const std::wstring& className,
                                              const std::wstring& methodName,
                                              const std::vector<std::wstring>& arguments);

// System.exit(status), which runs the shutdown hooks and then ends the process through the
// VM's exit hook: it returns only when the VM could not be asked.
void callSystemExit(JavaVM* vm, jint status);
