// Where a setting's value came from, as the launch trace reports it.
#pragma once

enum class SettingOrigin {
    none,                   // absent or empty everywhere: the reader's default applies
    embedded,               // the settings text embedded in the executable
    file,                   // the settings file beside the executable
    plusSection,            // the file's "<section>+", with nothing embedded to extend
    embeddedAndPlusSection, // the embedded value extended by the file's "<section>+"
    userFile,               // the per-user settings file
};
