#include "FileBytes.h"

#include "launcher/UniqueHandle.h"

bool readFileBytes(const std::wstring& path, std::vector<std::uint8_t>& bytes,
                   std::uint32_t& error) {
    bytes.clear();
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) {
        error = GetLastError();
        return false;
    }
    // Launchers, icons and settings files are small; anything near 2 GiB is not one of them.
    if (size.QuadPart > 0x7FFFFFFF) {
        error = ERROR_FILE_TOO_LARGE;
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                      &read, nullptr)) {
            error = GetLastError();
            return false;
        }
        if (read == 0) // shortened meanwhile: keep what there is
            break;
        done += read;
    }
    bytes.resize(done);
    return true;
}

bool writeFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                    std::uint32_t& error) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        error = GetLastError();
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                       &written, nullptr)) {
            error = GetLastError();
            return false;
        }
        done += written;
    }
    return true;
}

bool replaceFile(const std::wstring& from, const std::wstring& to, std::uint32_t& error) {
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        return false;
    }
    return true;
}

void removeFile(const std::wstring& path) {
    DeleteFileW(path.c_str());
}

std::wstring systemErrorText(std::uint32_t error) {
    return L"Windows error " + std::to_wstring(error);
}
