#include "StampTexts.h"

#include "FileBytes.h"

namespace texts {

namespace {

std::wstring quoted(std::wstring_view text) {
    return L"\"" + std::wstring(text) + L"\"";
}

} // namespace

std::wstring help() {
    return LR"(Usage:
  qova-stamp [OPTIONS] LAUNCHER             stamp LAUNCHER in place (a copy you made)
  qova-stamp [OPTIONS] --out FILE LAUNCHER  write a stamped copy of LAUNCHER to FILE
  qova-stamp --show LAUNCHER                print what LAUNCHER carries
  qova-stamp --help                         print this text

Writes into a copy of the Qova launcher its application icon, its version
information, its embedded settings and the execution level its manifest requests.
It rebuilds the launcher's resources itself, on Windows and Linux alike: the same
inputs give the same bytes on either.
Every input is checked first: when one is refused, nothing is written. The stamped
file replaces the target only once all of it has been written.

Options:
  --out FILE                 write the result to FILE (replaced when it exists);
                             LAUNCHER is only read
  --icon FILE.ico            the application icon: every image of the .ico file
                             (bitmap or PNG), replacing the launcher's icon
  --settings FILE.ini        the embedded settings (see below)
  --execution-level LEVEL    asInvoker, highestAvailable or requireAdministrator
                             (exact case); the rest of the manifest is kept as it is
  --code-page utf-8          the process code page UTF-8 (Windows 10 1903 and later):
                             paths and options reach Java whole whatever the system's
                             code page; --code-page system takes it out again
  --subsystem console        a launcher for a command-line tool: it runs in the
                             terminal it is started from, the application's
                             System.in, System.out and System.err are the
                             terminal's (or its pipes and files), and every message
                             goes to standard error instead of a message box;
                             --subsystem windows (as built) makes it windowed again
  --product-name TEXT        version information: ProductName
  --file-version VERSION     FileVersion, and the numeric file version
  --product-version VERSION  ProductVersion, and the numeric product version
  --company TEXT             CompanyName
  --description TEXT         FileDescription
  --copyright TEXT           LegalCopyright
  --original-filename TEXT   OriginalFilename
  --remove-signature         drop the launcher's code signature (its certificate
                             table), which stamping would break; sign it again
                             afterwards. Without it a signed launcher is refused.
  --show                     print what the launcher carries (after stamping, if
                             anything is stamped)
  Values may also follow an "=" (--icon=app.ico).

Version information: the fields given replace those stamped before, the others are
kept; an empty TEXT or VERSION removes the field. A VERSION is one to four numbers
from 0 to 65535 separated by dots (1.2 stands for 1.2.0.0).

Embedded settings: the launcher reads them beneath its settings file. A non-empty
value in the settings file replaces the embedded one; a value in a section whose
name ends in "+" (for example [Java Runtime Environment+]) is appended to the
embedded value of the same key in the section without "+", after one space.
The file must be UTF-8 (with or without a byte-order mark) or UTF-16LE with a
byte-order mark, and each line must be blank, a comment (first character ; or #),
a [section] header, or key=value inside a section. Values are taken as written:
quotes are kept. The text is stored as the RCDATA resource "QOVA_SETTINGS" in
UTF-16LE with a byte-order mark, lines ending in CR LF, not enciphered.

Code signing: stamp first, then sign. Stamping changes the bytes a signature
covers, so a launcher that carries one is refused unless --remove-signature is
given.

Exit codes: 0 done, 1 an input was refused, 2 wrong command line, 3 a file could
not be read or written.
)";
}

std::wstring unknownOption(std::wstring_view option) {
    return L"unknown option " + std::wstring(option) + L".";
}

std::wstring optionNeedsValue(std::wstring_view option) {
    return L"option " + std::wstring(option) + L" needs a value.";
}

std::wstring optionTwice(std::wstring_view option) {
    return L"option " + std::wstring(option) + L" is given twice.";
}

std::wstring secondLauncher(std::wstring_view argument) {
    return L"only one launcher may be given; " + quoted(argument) + L" is a second one.";
}

std::wstring noLauncher() {
    return L"no launcher given.";
}

std::wstring nothingToDo() {
    return L"nothing to do: give --icon, --settings, --execution-level, --code-page, --subsystem, "
           L"a version option, --remove-signature or --show.";
}

std::wstring outWithoutStamping() {
    return L"--out needs something to stamp: give --icon, --settings, --execution-level, "
           L"--code-page, --subsystem, a version option or --remove-signature.";
}

std::wstring notAnExecutionLevel(std::wstring_view value) {
    return quoted(value) +
           L" is not an execution level: use asInvoker, highestAvailable or requireAdministrator.";
}

std::wstring notACodePage(std::wstring_view value) {
    return quoted(value) + L" is not a code page the launcher can be stamped with: use utf-8, or "
                           L"system to take the element out again.";
}

std::wstring notAVersion(std::wstring_view value) {
    return quoted(value) + L" is not a version: use one to four numbers from 0 to 65535 "
                           L"separated by dots, like 2.1.0.15.";
}

std::wstring notASubsystem(std::wstring_view value) {
    return quoted(value) + L" is not a subsystem: use console or windows.";
}

std::wstring seeHelp() {
    return L"See qova-stamp --help.";
}

std::wstring buildName(LauncherBuild build) {
    const std::string_view name = rulesOf(build).name;
    return std::wstring(name.begin(), name.end());
}

std::wstring notALauncher(std::wstring_view path, ExecutableProblem problem) {
    std::wstring reason;
    switch (problem) {
    case ExecutableProblem::notPe:
        reason = L"it is not a Windows executable";
        break;
    case ExecutableProblem::damaged:
        return damagedResources(path, ResourceTreeProblem::damagedHeaders);
    case ExecutableProblem::notApplication:
        reason = L"it is a DLL or no application";
        break;
    case ExecutableProblem::wrongMachine:
        // The machines of the launchers' own table, so that the text lists every build there is.
        reason = L"it is built for none of the launchers' machines (";
        for (const LauncherBuild build : kLauncherBuilds)
            reason += (build == kLauncherBuilds[0] ? L"" : L", ") + buildName(build);
        reason += L")";
        break;
    case ExecutableProblem::none:
        break;
    }
    return std::wstring(path) + L" is not a Qova launcher: " + reason + L".";
}

std::wstring notALauncherWithoutMark(std::wstring_view path) {
    return std::wstring(path) +
           L" is not a Qova launcher: it lacks the launcher's mark (the RCDATA resource "
           L"\"QOVA_LAUNCHER\").";
}

std::wstring damagedResources(std::wstring_view path, ResourceTreeProblem problem) {
    std::wstring reason;
    switch (problem) {
    case ResourceTreeProblem::damagedHeaders:
        return std::wstring(path) + L" is not a Qova launcher: its headers or section table are "
                                    L"cut short or damaged. It is left as it was.";
    case ResourceTreeProblem::outsideImage:
        reason = L"a part of it lies outside the file";
        break;
    case ResourceTreeProblem::badShape:
        reason = L"it is not a tree of types, names and languages";
        break;
    case ResourceTreeProblem::tooLarge:
        reason = L"it claims more resources than the file holds";
        break;
    case ResourceTreeProblem::noResources:
    case ResourceTreeProblem::none:
        break;
    }
    return std::wstring(path) + L" is not a Qova launcher: its resource directory is damaged (" +
           reason + L"). It is left as it was.";
}

std::wstring cannotRebuildResources(std::wstring_view path, ResourceSectionProblem problem,
                                    std::string_view section) {
    std::wstring reason;
    switch (problem) {
    case ResourceSectionProblem::damagedHeaders:
        reason = L"its headers or section table are damaged";
        break;
    case ResourceSectionProblem::noResourceSection:
        reason = L"its resources do not start a section of their own";
        break;
    case ResourceSectionProblem::sectionCannotMove:
        reason = L"the section \"" + std::wstring(section.begin(), section.end()) +
                 L"\" lies after the resources and cannot be moved";
        break;
    case ResourceSectionProblem::signed_:
        reason = L"it still carries a signature";
        break;
    case ResourceSectionProblem::tooLarge:
        reason = L"it would grow past 4 GiB";
        break;
    case ResourceSectionProblem::none:
        break;
    }
    return L"cannot rebuild the resources of " + std::wstring(path) + L": " + reason +
           L"; it is left as it was.";
}

std::wstring newerLauncherFormat(std::wstring_view path, std::uint16_t format) {
    return std::wstring(path) + L" is a launcher of a newer resource format (" +
           std::to_wstring(format) + L"); use the qova-stamp that came with it.";
}

std::wstring notAnIcon(std::wstring_view path, IconFileProblem problem, std::size_t imageIndex) {
    const std::wstring image = L"image " + std::to_wstring(imageIndex + 1);
    std::wstring reason;
    switch (problem) {
    case IconFileProblem::notIconHeader:
        reason = L"it does not start with an icon header";
        break;
    case IconFileProblem::noImages:
        reason = L"it holds no image";
        break;
    case IconFileProblem::directoryCut:
        reason = L"its image directory is cut short";
        break;
    case IconFileProblem::imageOutsideFile:
        reason = image + L" lies outside the file";
        break;
    case IconFileProblem::imageNotBitmapOrPng:
        reason = image + L" is neither a bitmap nor a PNG image";
        break;
    case IconFileProblem::none:
        break;
    }
    return std::wstring(path) + L" is not an icon file: " + reason + L".";
}

std::wstring settingsDoNotParse(std::wstring_view path, SettingsFileProblem problem,
                                std::size_t line) {
    std::wstring reason;
    switch (problem) {
    case SettingsFileProblem::notUtf8OrUtf16:
        reason = L"the text is neither UTF-8 nor UTF-16LE with a byte-order mark";
        break;
    case SettingsFileProblem::controlCharacter:
        reason = L"it holds a control character (binary data?)";
        break;
    case SettingsFileProblem::notASetting:
        reason = L"the line is neither blank, a comment, a [section] nor key=value";
        break;
    case SettingsFileProblem::outsideSection:
        reason = L"key=value comes before the first [section]";
        break;
    case SettingsFileProblem::emptyKey:
        reason = L"the key before \"=\" is empty";
        break;
    case SettingsFileProblem::none:
        break;
    }
    return std::wstring(path) + L" does not parse as a settings file: line " +
           std::to_wstring(line) + L": " + reason + L".";
}

std::wstring tooManyIconImages(std::wstring_view path) {
    return std::wstring(path) + L" has more images than the launcher has free icon ids.";
}

std::wstring noExecutionLevelInManifest(std::wstring_view path) {
    return std::wstring(path) +
           L" has no manifest with a requestedExecutionLevel to change (RT_MANIFEST 1).";
}

std::wstring noCodePageInManifest(std::wstring_view path) {
    return std::wstring(path) + L" has no manifest (RT_MANIFEST 1) with an assembly element that "
                                L"an activeCodePage element can be put in.";
}

std::wstring versionTooLong() {
    return L"the version texts are too long for a version resource (64 KiB in all).";
}

std::wstring signedLauncher(std::wstring_view path) {
    return std::wstring(path) +
           L" carries a code signature, which stamping would break; it is left as it was. "
           L"Stamp the launcher before signing it, or give --remove-signature to drop the "
           L"signature and stamp it, then sign it again.";
}

std::wstring signatureNotRemovable(std::wstring_view path) {
    return std::wstring(path) +
           L" has a security directory that does not point at a certificate table after the "
           L"program's data; the signature cannot be removed safely. It is left as it was.";
}

std::wstring cannotRead(std::wstring_view path, std::uint32_t error) {
    return L"cannot read " + std::wstring(path) + L" (" + systemErrorText(error) + L").";
}

std::wstring cannotWrite(std::wstring_view path, std::uint32_t error) {
    return L"cannot write " + std::wstring(path) + L" (" + systemErrorText(error) +
           L"); it is left as it was.";
}

std::wstring stamped(std::wstring_view path, std::wstring_view what) {
    return L"Stamped " + std::wstring(path) + L": " + std::wstring(what) + L".";
}

std::wstring stampedIcon(std::size_t images) {
    return L"icon (" + counted(images, L"image") + L")";
}

std::wstring stampedSettings(std::size_t sections) {
    return L"settings (" + counted(sections, L"section") + L")";
}

std::wstring stampedExecutionLevel(std::wstring_view level) {
    return L"execution level " + std::wstring(level);
}

std::wstring stampedCodePage(CodePage codePage) {
    return codePage == CodePage::utf8 ? L"code page UTF-8" : L"code page of the system";
}

std::wstring stampedVersion() {
    return L"version information";
}

std::wstring stampedSubsystem(Subsystem subsystem) {
    return L"subsystem " + std::wstring(subsystemName(subsystem));
}

std::wstring removedSignature() {
    return L"signature removed";
}

std::wstring noSignatureToRemove() {
    return L"no signature to remove";
}

std::wstring counted(std::size_t count, std::wstring_view noun) {
    return std::to_wstring(count) + L" " + std::wstring(noun) + (count == 1 ? L"" : L"s");
}

} // namespace texts
