// The registry families of installed runtimes and the rules that decide which are searched,
// which are favoured and how a family's home folder and JVM library are found.
#pragma once

#include <array>
#include <string>
#include <vector>

enum class RuntimeKind { DevelopmentKit, RuntimeEnvironment };
enum class RuntimeProvider { Sun, JRockit, Ibm };

struct RuntimeFamily {
    // Under HKEY_LOCAL_MACHINE, ending in "\".
    const wchar_t* key;
    RuntimeKind kind;
    RuntimeProvider provider;
};

// The five families in the order they are searched.
const std::array<RuntimeFamily, 5>& runtimeFamilies();

// The launch settings that choose among the families.
struct RuntimeSourceSettings {
    bool jdkWanted = false;
    bool jreWanted = false;
    bool otherSourceAllowed = true;
    bool jrockitAccepted = false;
    bool sunAccepted = true;
    bool ibmAccepted = false;
    bool jrockitFavored = false;
    bool sunFavored = true;
    bool ibmFavored = false;
};

// Whether a family is searched, and when it is not, which setting rules it out: "VM Provider"
// (the provider is not accepted) or "JVM Source" (the kind is not wanted).
enum class FamilyRule { searched, providerNotAccepted, kindNotWanted };
FamilyRule familyRule(const RuntimeFamily& family, const RuntimeSourceSettings& settings);

bool isFamilySearched(const RuntimeFamily& family, const RuntimeSourceSettings& settings);
bool isFamilyFavored(const RuntimeFamily& family, const RuntimeSourceSettings& settings);

// The JVM type a family's runtimes are probed with while they are collected.
int collectionJvmType(const RuntimeFamily& family, int jvmType);

// The runtime home of a registered "JavaHome": ending in "\", and a kit's "jre\" inside it.
std::wstring homeFolderFromJavaHome(const std::wstring& javaHome, const RuntimeFamily& family);

std::wstring withTrailingBackslash(std::wstring folder);

// One place a runtime home may hold its JVM library.
struct JvmLibraryLocation {
    const wchar_t* relativePath;
    bool isServer;
};

// The JVM library locations to try, in order, for a JVM type (0 any, 1 server required,
// 2 server favoured); the first that exists is the runtime's JVM library.
std::vector<JvmLibraryLocation> jvmLibraryProbeOrder(int jvmType);
