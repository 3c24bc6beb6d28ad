#include "StampTool.h"

#include "TestFiles.h"

#include <stdexcept>

namespace {

void put16(std::string& bytes, size_t at, uint16_t value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

void put32(std::string& bytes, size_t at, uint32_t value) {
    put16(bytes, at, static_cast<uint16_t>(value & 0xFFFF));
    put16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

uint32_t get32(const std::string& bytes, size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
}

// A 32-bit icon image: the header (twice the height, for colour and mask), the pixels in a
// colour that depends on the size, and an all-visible mask.
std::string bitmapImage(int size) {
    const size_t maskRow = static_cast<size_t>((size + 31) / 32 * 4);
    std::string image(40, '\0');
    put32(image, 0, 40);
    put32(image, 4, static_cast<uint32_t>(size));
    put32(image, 8, static_cast<uint32_t>(size * 2));
    put16(image, 12, 1);
    put16(image, 14, 32);
    for (int i = 0; i < size * size; ++i)
        image += std::string{static_cast<char>(size), 0x40, static_cast<char>(0xC0),
                             static_cast<char>(0xFF)};
    image += std::string(maskRow * static_cast<size_t>(size), '\0');
    return image;
}

HANDLE inheritableFile(const std::wstring& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

ToolRun runStampTool(const std::vector<std::wstring>& arguments) {
    const std::wstring tool = testProgramFolder() + L"\\qova-stamp.exe";
    std::wstring commandLine = L"\"" + tool + L"\"";
    for (const std::wstring& argument : arguments)
        commandLine += L" \"" + argument + L"\"";

    // Output goes to files rather than pipes, so neither can fill up while the other is read.
    TempFolder folder;
    const std::wstring outPath = folder.file(L"out.txt");
    const std::wstring errPath = folder.file(L"err.txt");
    ToolRun run;
    {
        HANDLE out = inheritableFile(outPath);
        HANDLE err = inheritableFile(errPath);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = out;
        startup.hStdError = err;
        PROCESS_INFORMATION process{};
        const BOOL started =
            CreateProcessW(tool.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                           CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
        CloseHandle(out);
        CloseHandle(err);
        if (!started)
            throw std::runtime_error("cannot start qova-stamp.exe");
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    run.out = readBytesFile(outPath);
    run.err = readBytesFile(errPath);
    return run;
}

std::string iconFileBytes(const std::vector<int>& bitmapSizes,
                          const std::vector<std::string>& pngImages) {
    std::vector<std::string> images;
    std::vector<int> sizes;
    for (const int size : bitmapSizes) {
        images.push_back(bitmapImage(size));
        sizes.push_back(size);
    }
    for (const std::string& png : pngImages) {
        images.push_back(png);
        sizes.push_back(48);
    }
    std::string file(6 + 16 * images.size(), '\0');
    put16(file, 2, 1);
    put16(file, 4, static_cast<uint16_t>(images.size()));
    for (size_t i = 0; i < images.size(); ++i) {
        const size_t entry = 6 + 16 * i;
        file[entry] = static_cast<char>(sizes[i] % 256);
        file[entry + 1] = static_cast<char>(sizes[i] % 256);
        // PNG entries leave planes and depth 0, as many icon editors write them.
        if (i < bitmapSizes.size()) {
            put16(file, entry + 4, 1);
            put16(file, entry + 6, 32);
        }
        put32(file, entry + 8, static_cast<uint32_t>(images[i].size()));
        put32(file, entry + 12, static_cast<uint32_t>(file.size()));
        file += images[i];
    }
    return file;
}

std::string pngImage48() {
    static const unsigned char png[] = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
        0x44, 0x52, 0x00, 0x00, 0x00, 0x30, 0x00, 0x00, 0x00, 0x30, 0x08, 0x06, 0x00, 0x00,
        0x00, 0x57, 0x02, 0xF9, 0x87, 0x00, 0x00, 0x00, 0x44, 0x49, 0x44, 0x41, 0x54, 0x78,
        0xDA, 0xED, 0xCF, 0x31, 0x0D, 0x00, 0x00, 0x08, 0x00, 0x20, 0xE3, 0x18, 0xC2, 0xFE,
        0xB3, 0x95, 0x56, 0xF0, 0x75, 0xE3, 0x20, 0x00, 0xD1, 0x95, 0xF3, 0x59, 0x08, 0x08,
        0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08,
        0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08,
        0x08, 0x08, 0x08, 0x08, 0x08, 0x5C, 0x2D, 0x90, 0x54, 0x84, 0x1E, 0x29, 0x86, 0x15,
        0xA5, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
    return std::string(reinterpret_cast<const char*>(png), sizeof png);
}

std::string iconImageBytes(const std::string& iconFile, size_t index) {
    const size_t entry = 6 + 16 * index;
    return iconFile.substr(get32(iconFile, entry + 12), get32(iconFile, entry + 8));
}
