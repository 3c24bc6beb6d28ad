#include "StampCommand.h"

#include "ConsoleOutput.h"
#include "StampOptions.h"
#include "StampTexts.h"
#include "Stamping.h"

int runStampCommand(const std::vector<std::wstring>& arguments) {
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
