// The VM parameter line from arbitrary text: every option is explained by the splitting rule,
// numbers never wrap, and percentage sizes stay within the bounds written in the option.
#include "javaopts/JavaCommandSyntax.h"
#include "javaopts/MemorySizes.h"
#include "javaopts/SizeNumbers.h"
#include "javaopts/VmParameterText.h"
#include "javaopts/VmParameters.h"

#include "FuzzCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr std::uint64_t kMaximum = std::numeric_limits<std::uint64_t>::max();

// One byte per character: quotes, spaces, digits and unit letters are common in the input.
std::wstring wideText(const uint8_t* data, size_t size) {
    return std::wstring(data, data + size);
}

// The first space at or after `from` that is not between a quote and the quote that closes it
// (a doubled closing quote belongs to the stretch), or the text's length. Written apart from
// the splitter on purpose.
size_t firstUnquotedSpace(const std::wstring& text, size_t from) {
    for (size_t i = from; i < text.size(); ++i) {
        if (text[i] == L' ')
            return i;
        if (text[i] != L'"')
            continue;
        size_t close = i + 1;
        while (close < text.size() && text[close] != L'"')
            ++close;
        if (close == text.size())
            continue; // unmatched: the quote is an ordinary character
        if (close + 1 < text.size() && text[close + 1] == L'"')
            ++close;
        i = close;
    }
    return text.size();
}

void checkSplit(const std::wstring& text, const std::vector<std::wstring>& options) {
    // The options are the text's pieces in order, separated by spaces and nothing else.
    size_t position = 0;
    for (const std::wstring& option : options) {
        check(!option.empty() && option.front() != L' ');
        while (position < text.size() && text[position] == L' ')
            ++position;
        check(text.compare(position, option.size(), option) == 0);
        position += option.size();
        check(position == firstUnquotedSpace(text, position - option.size()));
    }
    check(text.find_first_not_of(L' ', position) == std::wstring::npos);
}

// Every number matches exact arithmetic, held at the maximum and flagged when beyond 64 bits.
void checkNumbers(const std::wstring& text, LastCharacter last) {
    const SizeNumbers read = readSizeNumbers(text, last);
    std::vector<unsigned __int128> exact;
    bool beyond = false;
    const size_t end = last == LastCharacter::Unit && !text.empty() ? text.size() - 1 : text.size();
    for (size_t i = read.start; i < text.size(); ++i) {
        if (i == read.start)
            exact.push_back(0);
        if (i >= end)
            break;
        if (text[i] == L':') {
            exact.push_back(0);
        } else if (text[i] >= L'0' && text[i] <= L'9') {
            unsigned __int128& number = exact.back();
            number = number * 10 + static_cast<unsigned>(text[i] - L'0');
            if (number > kMaximum) {
                beyond = true;
                number = kMaximum;
            }
        }
    }
    check(read.overflowed == beyond);
    check(read.numbers.size() == exact.size());
    for (size_t i = 0; i < exact.size(); ++i)
        check(read.numbers[i] == static_cast<std::uint64_t>(exact[i]));
}

void checkPercentage(const std::wstring& option, const MemoryStatus& memory) {
    if (!isPercentageSize(option))
        return;
    const SizeNumbers read = readSizeNumbers(option);
    auto kib = [&read](size_t index) -> unsigned __int128 {
        return index < read.numbers.size()
                   ? static_cast<unsigned __int128>(read.numbers[index]) * 1024
                   : 0;
    };
    const std::uint64_t size = percentageSizeKib(option, memory);
    const unsigned __int128 minimum = std::min<unsigned __int128>(kib(1), kMaximum);
    const unsigned __int128 maximum = std::min<unsigned __int128>(kib(2), kMaximum);
    check(size >= minimum);
    if (maximum != 0 && minimum <= maximum)
        check(size <= maximum);

    std::wstring rewritten = option;
    rewritePercentageSize(rewritten, memory);
    check(rewritten == option.substr(0, read.start) + std::to_wstring(size) + L'K');
}

// The java command's syntax over the processed options: every option passed is one of them as
// written or a rewrite, in order; only the joined value words are gone; a fault names an option
// of the input.
void checkJavaCommandSyntax(const std::vector<std::wstring>& options) {
    const EnvironmentLookup lookup = [](const std::wstring& name, std::wstring& value) {
        value = L"\\lib;" + name;
        return name.size() == 1;
    };
    const JavaCommandOptions result = applyJavaCommandSyntax(options, L"C:\\App", lookup);
    const auto written = [&options](const std::wstring& option) {
        return std::find(options.begin(), options.end(), option) != options.end();
    };
    if (result.fault != OptionFault::None) {
        check(written(result.faultyOption));
        return;
    }
    check(result.options.size() <= options.size());
    check(result.options.size() + result.rewritten.size() >= options.size());
    size_t rewrite = 0;
    for (const std::wstring& passed : result.options) {
        if (rewrite < result.rewritten.size() && result.rewritten[rewrite].passed == passed) {
            check(passed.starts_with(L"--") && passed.find(L'=') != std::wstring::npos);
            check(result.rewritten[rewrite].written != passed);
            ++rewrite;
            continue;
        }
        check(written(passed));
        // The VM refuses the two-word form: none of it may reach the VM bare.
        check(passed != L"-p" && passed != L"--module-path" && passed != L"--add-modules" &&
              passed != L"--add-opens" && passed != L"--patch-module");
    }
    check(rewrite == result.rewritten.size());
}

void checkText(const std::wstring& text) {
    const std::vector<std::wstring> tokens = splitVmParameterText(text);
    checkSplit(text, tokens);

    const MemoryStatus machines[] = {
        {0, 0}, {std::uint64_t{8} << 30, std::uint64_t{128} << 40}, {kMaximum, kMaximum}};
    for (const MemoryStatus& memory : machines) {
        std::vector<std::wstring> options;
        std::uint64_t stackSize = 12345;
        splitVmParameters(text, memory, options, stackSize);
        check(options.size() == tokens.size());

        std::uint64_t expectedStack = 12345;
        for (size_t i = 0; i < tokens.size(); ++i) {
            std::wstring unquoted = tokens[i];
            removeQuotes(unquoted);
            check(unquoted.size() <= tokens[i].size());
            checkPercentage(unquoted, memory);
            if (options[i].compare(0, 4, L"-Xss") == 0)
                expectedStack = parseStackSize(options[i].substr(4));
        }
        check(stackSize == expectedStack);
        checkJavaCommandSyntax(options);
    }

    checkNumbers(text, LastCharacter::Unit);
    checkNumbers(text, LastCharacter::Number);
    // A stack size is 0 or a whole number of bytes that fits; it never wraps to a small one.
    const std::uint64_t stack = parseStackSize(text);
    const SizeNumbers whole = readSizeNumbers(text, LastCharacter::Number);
    if (stack != 0 && !text.empty() && text.back() >= L'0' && text.back() <= L'9')
        check(whole.numbers.size() == 1 && stack == whole.numbers.front());
}

// The same bytes over a small alphabet, so that doubled quotes next to spaces and options of
// the size form are frequent rather than rare.
std::wstring denseText(const uint8_t* data, size_t size) {
    static const wchar_t alphabet[] = L" \"\"\"  a:19-Xmsx50PpTtkKg";
    std::wstring text;
    for (size_t i = 0; i < size; ++i)
        text.push_back(alphabet[data[i] % (sizeof alphabet / sizeof alphabet[0] - 1)]);
    return text;
}

// Words of the java command's syntax, so that value options, their values, "=" forms, actions
// and references meet in every order.
std::wstring wordText(const uint8_t* data, size_t size) {
    static const wchar_t* const words[] = {
        L"-p", L"--module-path", L"--module-path=", L"--patch-module", L"m=\\x;;D:\\y",
        L"--add-modules", L"--add-opens=a/b=c", L"\\lib\\fx;%A%", L"-jar", L"--version",
        L"-m", L"\"\\my mods\"", L"\"\"", L"-Xss1m", L"--upgrade-module-path", L"-splash:"};
    std::wstring text;
    for (size_t i = 0; i < size; ++i) {
        text += words[data[i] % (sizeof words / sizeof words[0])];
        text += L' ';
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    checkText(wideText(data, size));
    checkText(denseText(data, size));
    checkText(wordText(data, size));
    return 0;
}
