#include "RuntimeFolder.h"

namespace testjvm {

std::wstring modulePathOf(const void* address) {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCWSTR>(address), &module);
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

std::wstring moduleFolderOf(const void* address) {
    const std::wstring path = modulePathOf(address);
    return path.substr(0, path.rfind(L'\\'));
}

std::wstring findScriptFolder(std::wstring folder) {
    for (int level = 0; level < 4 && !folder.empty(); ++level) {
        const DWORD attributes = GetFileAttributesW((folder + L"\\" + kScriptFileName).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return folder;
        const size_t slash = folder.rfind(L'\\');
        folder = slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
    }
    return {};
}

bool readWholeFile(const std::wstring& path, std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return true;
}

RecordAppender::RecordAppender(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

RecordAppender::~RecordAppender() {
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
}

void RecordAppender::append(const std::string& lines) const {
    if (file_ == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file_, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
}

std::wstring fromAnsi(std::string_view bytes) {
    if (bytes.empty())
        return {};
    const int size =
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

} // namespace testjvm
