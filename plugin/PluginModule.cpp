// The loadable plug-in is the static library plus this translation unit; the
// linker keeps EntryPointFunc (see the module's link options) and exports
// nothing else.
