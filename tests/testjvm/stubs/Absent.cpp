// The library missingdep.dll imports from; it is built where no runtime or search path finds it.
extern "C" __declspec(dllexport) int qovaAbsentFunction() {
    return 0;
}
