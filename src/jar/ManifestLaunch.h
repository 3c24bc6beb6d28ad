// What a jar's manifest adds to a launch: the main class and the VM options that the java
// command derives from it when it starts the jar.
#pragma once

#include "jar/JarManifest.h"

#include <string>
#include <vector>

struct ManifestLaunch {
    std::wstring mainClass; // slash form; empty when the manifest names none
    std::vector<std::wstring> vmOptions;
    // The value of "Enable-Native-Access" when it is not the one value the java command
    // takes, ALL-UNNAMED; such a jar is refused.
    std::wstring refusedNativeAccess;
    bool nativeAccessRefused = false;
};

// "Main-Class" (blanks around it dropped, dots made slashes); each "module/package" item of
// "Add-Exports" and "Add-Opens" as --add-exports=ITEM=ALL-UNNAMED and --add-opens=ITEM=ALL-UNNAMED;
// "Enable-Native-Access: ALL-UNNAMED" as --enable-native-access=ALL-UNNAMED.
[[nodiscard]] ManifestLaunch manifestLaunch(const std::vector<ManifestAttribute>& attributes);
