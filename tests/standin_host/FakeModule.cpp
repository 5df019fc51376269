// A loadable module that is not a plug-in: it has no EntryPointFunc.
extern "C" __attribute__((visibility("default"))) int NotAnEntryPoint()
{
    return 42;
}
