// The process code page an application manifest asks for (activeCodePage, honoured by Windows 10
// 1903 and later), set or removed without touching any other byte of the manifest.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The code page the launcher's options stamp: UTF-8, or the system's ANSI code page (no
// activeCodePage element at all).
enum class CodePage { utf8, system };

// "utf-8" or "system", in any ASCII case; none for anything else.
[[nodiscard]] std::optional<CodePage> parseCodePage(std::wstring_view text);

// The text of the first activeCodePage element outside comments (with or without a namespace
// prefix); none when the manifest has none.
[[nodiscard]] std::optional<std::string> activeCodePage(std::string_view manifest);

// The manifest asking for the code page: an existing activeCodePage element gets the value
// "UTF-8" or is removed, else a new one is put at the end of windowsSettings (which is added
// at the end of the assembly when missing). None when the manifest has no assembly element to
// put it in, or an element it cannot take apart.
[[nodiscard]] std::optional<std::string> withCodePage(std::string_view manifest, CodePage codePage);
