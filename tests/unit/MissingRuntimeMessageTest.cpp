// The missing-runtime message for each combination of version bounds and JVM type.
#include "runtime/MissingRuntimeMessage.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// The string table's texts (the two sentences with their two blanks after "Please").
std::wstring tableText(unsigned id) {
    static const std::map<unsigned, std::wstring> texts{
        {IDS_JRE_NOT_FOUND_SERVER,
         L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE "
         L"with a server JVM (%s) from:"},
        {IDS_JRE_NOT_FOUND, L"The Java Runtime Environment (JRE) was not found. Please  download "
                            L"and install a JRE (%s) from:"},
        {IDS_LATEST_VERSION, L"latest version"},
        {IDS_MAXIMUM_VERSION, L"maximum version %s"},
        {IDS_MINIMUM_VERSION, L"minimum version %s"},
        {IDS_VERSION_REQUIRED, L"version %s is required"},
        {IDS_VERSION_BETWEEN, L"version between %s and %s"},
    };
    const auto found = texts.find(id);
    return found == texts.end() ? L"<" + std::to_wstring(id) + L">" : found->second;
}

JavaVersion minimumOf(const wchar_t* text) {
    return std::wstring(text) == L"any" ? JavaVersion{} : JavaVersion::fromText(text, 0);
}

JavaVersion maximumOf(const wchar_t* text) {
    return std::wstring(text) == L"any"
               ? JavaVersion{{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}}
               : JavaVersion::fromText(text, JavaVersion::unboundedComponent);
}

TEST(MissingRuntimeMessage, PhraseForTheBoundsInTheSentenceForTheJvmType) {
    const std::wstring general = L"The Java Runtime Environment (JRE) was not found. Please  "
                                 L"download and install a JRE (";
    const std::wstring server = L"The Java Runtime Environment (JRE) was not found. Please  "
                                L"download and install a JRE with a server JVM (";
    struct Case {
        int jvmType;
        const wchar_t* minimum;
        const wchar_t* maximum;
        std::wstring expected;
    };
    const Case cases[] = {
        {0, L"any", L"any", general + L"latest version) from:"},
        {0, L"", L"any", general + L"latest version) from:"},
        // An empty maximum reads 0.0.0.0, which the message treats as no bound.
        {0, L"", L"", general + L"latest version) from:"},
        {0, L"1.6", L"any", general + L"minimum version 1.6) from:"},
        {0, L"any", L"1.6", general + L"maximum version 1.6) from:"},
        {0, L"1.5", L"1.7", general + L"version between 1.5 and 1.7) from:"},
        // 1.6 to 1.6 is the range 1.6.0.0 to 1.6.65535.65535.
        {0, L"1.6", L"1.6", general + L"version between 1.6 and 1.6) from:"},
        {0, L"1.6.0_20", L"1.6.0_20", general + L"version 1.6.0.20 is required) from:"},
        {2, L"1.8", L"any", general + L"minimum version 1.8) from:"},
        {1, L"any", L"any", server + L"latest version) from:"},
        {1, L"1.6.0.20", L"1.6.0.20", server + L"version 1.6.0.20 is required) from:"},
        {1, L"1.6", L"1.8", server + L"version between 1.6 and 1.8) from:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.minimum) + L" / " + c.maximum +
                                            L" / type " + std::to_wstring(c.jvmType)));
        EXPECT_EQ(composeMissingRuntimeMessage(c.jvmType, minimumOf(c.minimum),
                                               maximumOf(c.maximum), tableText),
                  c.expected);
    }
}

} // namespace
