// Everything the stamping tool reads from files a user hands it: .ico files, settings files,
// manifests, PE headers and resource trees, and the settings resource the launcher decodes.
#include "IconFile.h"
#include "ManifestLevel.h"
#include "PeImage.h"
#include "SettingsFileText.h"
#include "VersionResource.h"
#include "settings/EmbeddedSettingsText.h"
#include "settings/MemorySettingsSource.h"

#include "FuzzCheck.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

namespace {

// Small inputs rarely look like an image: also try the bytes behind a fixed PE prefix.
std::vector<std::uint8_t> behindPeHeaders(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> image(0x80, 0);
    image[0] = 'M';
    image[1] = 'Z';
    image[0x3C] = 0x40;
    image[0x40] = 'P';
    image[0x41] = 'E';
    image.insert(image.end(), data.begin(), data.end());
    return image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);

    const IconFile icon = parseIconFile(bytes);
    for (const IconImage& image : icon.images)
        check(image.data.data() >= data && image.data.data() + image.data.size() <= data + size);
    std::vector<IconGroupEntry> entries;
    if (parseIconGroup(bytes, entries))
        check(6 + entries.size() * 14 <= size);

    const SettingsFileText settings = settingsTextFromFile(bytes);
    if (settings.problem == SettingsFileProblem::none) {
        // Every line break is CR LF, so the launcher's reader sees the lines the file has.
        for (std::size_t i = 0; i < settings.text.size(); ++i) {
            if (settings.text[i] == L'\n')
                check(i > 0 && settings.text[i - 1] == L'\r');
            if (settings.text[i] == L'\r')
                check(i + 1 < settings.text.size() && settings.text[i + 1] == L'\n');
        }
        check(decodeEmbeddedSettingsText(encodeEmbeddedSettingsText(settings.text)) ==
              settings.text);
        MemorySettingsSource source;
        source.load(settings.text);
    } else {
        check(settings.line >= 1);
    }
    static_cast<void>(decodeEmbeddedSettingsText(bytes));

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto changed = withExecutionLevel(text, "highestAvailable")) {
        const auto range = findExecutionLevel(text);
        check(range && changed->size() == size - range->length + 16);
        check(changed->compare(0, range->offset, text.substr(0, range->offset)) == 0);
    }
    std::wstring wide;
    for (std::size_t i = 0; i < size; ++i)
        wide.push_back(static_cast<wchar_t>(data[i]));
    if (const auto version = parseVersionNumber(wide))
        check(!wide.empty());

    for (std::vector<std::uint8_t> image :
         {std::vector<std::uint8_t>(data, data + size), behindPeHeaders(bytes)}) {
        static_cast<void>(checkExecutable(image));
        if (const auto field = checksumOffset(image))
            check(*field + 4 <= image.size());
        // --remove-signature: only the table's bytes go, and the image has none afterwards.
        const auto table = certificateTable(image);
        const std::size_t before = image.size();
        if (removeCertificateTable(image))
            check(table && image.size() == before - table->size && !certificateTable(image));
        else
            check(image.size() == before);
    }
    return 0;
}
