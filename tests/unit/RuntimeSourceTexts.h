// The runtime source settings as the launcher derives them from the "JVM Source" and
// "VM Provider" texts, for tests of the rules that apply them.
#pragma once

#include "runtime/RuntimeFamilies.h"
#include "settings/LaunchSettingsRules.h"

#include <string>

inline RuntimeSourceSettings sourcesFromTexts(const std::wstring& jvmSource,
                                              const std::wstring& vmProvider) {
    const JvmSourceChoice source = jvmSourceFromText(jvmSource);
    const VmProviderChoice provider = vmProviderFromText(vmProvider);
    return {.jdkWanted = source.jdkWanted,
            .jreWanted = source.jreWanted,
            .otherSourceAllowed = source.otherSourceAllowed,
            .jrockitAccepted = provider.jrockitAccepted,
            .sunAccepted = provider.sunAccepted,
            .ibmAccepted = provider.ibmAccepted,
            .jrockitFavored = provider.jrockitFavored,
            .sunFavored = provider.sunFavored,
            .ibmFavored = provider.ibmFavored};
}
