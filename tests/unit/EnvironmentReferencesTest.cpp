// %NAME% expansion with a fixed environment.
#include "javaopts/EnvironmentReferences.h"

#include <gtest/gtest.h>

#include <map>

namespace {

EnvironmentLookup lookupIn(std::map<std::wstring, std::wstring> variables) {
    return [variables = std::move(variables)](const std::wstring& name, std::wstring& value) {
        const auto found = variables.find(name);
        if (found == variables.end())
            return false;
        value = found->second;
        return true;
    };
}

TEST(EnvironmentReferences, ExpandsKnownAndKeepsUnknown) {
    const EnvironmentLookup lookup =
        lookupIn({{L"TEMP", L"C:\\Temp"}, {L"EMPTY", L""}, {L"SELF", L"%SELF%"}, {L"PCT", L"50%"}});
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"", L""},
        {L"no references", L"no references"},
        {L"%TEMP%\\out.log", L"C:\\Temp\\out.log"},
        {L"%TEMP%%TEMP%", L"C:\\Temp"
                          L"C:\\Temp"},
        {L"a%EMPTY%b", L"ab"},
        {L"%UNKNOWN%\\x", L"%UNKNOWN%\\x"},
        {L"%%", L"%%"},
        {L"100%", L"100%"},
        {L"%TEMP", L"%TEMP"},
        {L"x%TEMP%y%TEMP", L"xC:\\Tempy%TEMP"},
        // The closing sign of an unknown reference opens nothing.
        {L"%UNKNOWN%TEMP%", L"%UNKNOWN%TEMP%"},
        {L"%UNKNOWN%%TEMP%", L"%UNKNOWN%C:\\Temp"},
        // Values are not expanded again.
        {L"%SELF%", L"%SELF%"},
        {L"%PCT%TEMP%", L"50%TEMP%"},
    };
    for (const auto& [text, expected] : rows) {
        std::wstring expanded = text;
        expandEnvironmentReferences(expanded, lookup);
        EXPECT_EQ(expanded, expected) << text;
    }
}

TEST(EnvironmentReferences, AsksOnlyForNamesBetweenPercentSigns) {
    std::vector<std::wstring> asked;
    const EnvironmentLookup lookup = [&asked](const std::wstring& name, std::wstring&) {
        asked.push_back(name);
        return false;
    };
    std::wstring text = L"%A%b%%c%D%";
    expandEnvironmentReferences(text, lookup);
    EXPECT_EQ(text, L"%A%b%%c%D%");
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"A", L"D"}));
}

} // namespace
