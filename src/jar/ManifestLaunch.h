// What a jar's manifest adds to a launch: the main class and the VM options that the java
// command derives from it when it starts the jar.
#pragma once

#include "jar/JarManifest.h"
#include "runtime/JavaVersion.h"

#include <cstddef>
#include <string>
#include <vector>

struct ManifestLaunch {
    std::wstring mainClass; // slash form; empty when the manifest names none
    // The module options first (`moduleOptionCount` of them), then the native-access one.
    std::vector<std::wstring> vmOptions;
    std::size_t moduleOptionCount = 0;
    // The value of "Enable-Native-Access" when it is not the one value the java command
    // takes, ALL-UNNAMED; such a jar is refused where the attribute counts.
    std::wstring refusedNativeAccess;
    bool nativeAccessRefused = false;
};

// "Main-Class" (blanks around it dropped, dots made slashes); each "module/package" item of
// "Add-Exports" and "Add-Opens" as --add-exports=ITEM=ALL-UNNAMED and --add-opens=ITEM=ALL-UNNAMED;
// "Enable-Native-Access: ALL-UNNAMED" as --enable-native-access=ALL-UNNAMED.
[[nodiscard]] ManifestLaunch manifestLaunch(const std::vector<ManifestAttribute>& attributes);

struct ManifestOptions {
    std::size_t count = 0; // the first `count` of the ManifestLaunch's VM options
    bool nativeAccessRefused = false;
};

// What the java command of a runtime of `version` takes from the jar: the module options from
// Java 9, native access from 22. An unknown version (0.0.0.0) takes everything.
[[nodiscard]] ManifestOptions manifestOptionsFor(const ManifestLaunch& launch,
                                                 const JavaVersion& version);
