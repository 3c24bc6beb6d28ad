#include "javaopts/AnsiText.h"

#include <windows.h>

namespace {

// The process's ANSI code page is UTF-8 when its manifest asks for it (activeCodePage); the
// thread's code page follows the thread locale, which the manifest does not change, so the
// VM, which reads its options in the process's code page, is given UTF-8 then.
UINT vmCodePage() {
    return GetACP() == CP_UTF8 ? CP_UTF8 : CP_THREAD_ACP;
}

// The bytes and their count in the VM's code page; 0 when the conversion fails.
int convertToThreadAnsi(const std::wstring& text, DWORD flags, std::string& bytes,
                        BOOL* usedDefault) {
    const UINT codePage = vmCodePage();
    const int units = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(codePage, flags, text.data(), units, nullptr, 0,
                                           nullptr, usedDefault);
    if (length <= 0)
        return length;
    bytes.assign(static_cast<size_t>(length), '\0');
    return WideCharToMultiByte(codePage, flags, text.data(), units, bytes.data(), length,
                               nullptr, usedDefault);
}

} // namespace

AnsiText threadAnsiText(const std::wstring& text) {
    AnsiText result;
    if (text.empty())
        return result;
    // The bytes are always those of the plain conversion, best-fit substitutes included: text
    // the code page holds is unchanged by the check, and lossy text stays as it always was.
    if (convertToThreadAnsi(text, 0, result.bytes, nullptr) <= 0)
        result.bytes.clear();
    std::string strict;
    // UTF-8 holds every character and loses only an unpaired surrogate, which it refuses
    // when asked to be strict.
    if (vmCodePage() == CP_UTF8) {
        result.lossless = convertToThreadAnsi(text, WC_ERR_INVALID_CHARS, strict, nullptr) > 0;
        return result;
    }
    // A best fit (Greek alpha as 'a') is not reported as a default character unless best fits
    // are refused.
    BOOL usedDefault = FALSE;
    const int checked = convertToThreadAnsi(text, WC_NO_BEST_FIT_CHARS, strict, &usedDefault);
    // A code page that refuses the question (UTF-8 as the thread's code page) holds every
    // character; only a conversion that failed outright has lost the text.
    result.lossless = checked > 0 ? !usedDefault : !result.bytes.empty();
    return result;
}

std::wstring shortPathName(const std::wstring& path) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetShortPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        // Too small: length is the size needed, terminator included.
        buffer.resize(length);
    }
}

std::string toAnsiPath(const std::wstring& path) {
    return ansiPathText(path, threadAnsiText, shortPathName);
}
