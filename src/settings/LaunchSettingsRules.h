// How the texts of the launch settings turn into launcher values.
#pragma once

#include <string>
#include <vector>

struct JvmSourceChoice {
    bool jdkWanted = true;
    bool jreWanted = true;
    bool otherSourceAllowed = true;
};

struct VmProviderChoice {
    bool jrockitAccepted = false;
    bool jrockitFavored = false;
    bool sunAccepted = true;
    bool sunFavored = true;
    bool ibmAccepted = false;
    bool ibmFavored = false;
};

// "JVM Type": exactly "server" is 1 (server JVM required), "favor_server" 2, anything else 0.
int jvmTypeFromText(const std::wstring& text);

// "JVM Source", compared exactly; an unknown text selects no source at all.
JvmSourceChoice jvmSourceFromText(const std::wstring& text);

// "VM Provider", compared without regard to ASCII case.
VmProviderChoice vmProviderFromText(const std::wstring& text);

// "Preferred versions": pieces between ";" are kept even when empty; a trailing ";" adds none.
std::vector<std::wstring> splitPreferredVersions(const std::wstring& text);

// The switches that take "Yes" accept it in any ASCII case.
bool isYes(const std::wstring& text);

// Java class names travel in slash form.
std::wstring toSlashClassName(std::wstring className);

// Compares without regard to ASCII case (A to Z fold onto a to z; nothing else folds).
bool equalsIgnoringAsciiCase(const std::wstring& a, const std::wstring& b);
