// The class path as a VM's class loader sees it: elements it opens by the names it was given.
#include "Vm.h"

namespace testjvm {

std::vector<std::wstring> classPathElements(const std::wstring& classPath) {
    std::vector<std::wstring> elements;
    for (size_t start = 0; start <= classPath.size();) {
        const size_t end = std::min(classPath.find(L';', start), classPath.size());
        // An empty element is the current directory, which is always there.
        if (end > start)
            elements.push_back(classPath.substr(start, end - start));
        start = end + 1;
    }
    return elements;
}

bool classPathElementOpens(const std::wstring& element) {
    // The text the VM decoded from the option: a character the launcher's conversion lost is
    // a "?" or another letter here, and the file is not found.
    return GetFileAttributesW(element.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace testjvm
