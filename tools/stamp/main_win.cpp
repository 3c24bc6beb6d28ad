// qova-stamp: writes an application's icon, version information, embedded settings and
// requested execution level into a copy of the launcher (qova-stamp --help).
#include "ConsoleOutput.h"
#include "StampOptions.h"
#include "StampTexts.h"
#include "Stamping.h"

int wmain(int argc, wchar_t** argv) {
    const std::vector<std::wstring> arguments(argv + 1, argv + argc);
    const ParsedCommandLine parsed = parseStampCommandLine(arguments);
    if (!parsed.error.empty()) {
        printError(parsed.error + L"\n" + texts::seeHelp());
        return texts::kBadCommandLine;
    }
    const StampOptions& options = parsed.options;
    if (options.help) {
        printOut(texts::help());
        return texts::kDone;
    }
    if (options.writesFile())
        return stampLauncher(options);
    return showLauncher(options.launcher);
}
