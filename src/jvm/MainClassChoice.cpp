#include "jvm/MainClassChoice.h"

MainClassOrigin mainClassOrigin(bool mainClassSet, bool mainModuleSet, bool jarAvailable) {
    if (mainClassSet)
        return MainClassOrigin::setting;
    if (mainModuleSet)
        return MainClassOrigin::module;
    // The jar's class counts only when nothing else names one: the jar is still first on the
    // class path then, but an application that names its class pays nothing for its manifest.
    return jarAvailable ? MainClassOrigin::manifest : MainClassOrigin::none;
}
