// The 24 suite tables the host offers, by (name, version). Each suite source
// file builds its tables once; the session registers and removes them all.
#pragma once

#include "SuiteGuard.h"

#include "host_suites.h"

namespace standin {

// The suites the host offers: the list the plug-in acquires from.
#define STANDIN_SUITE_LIST(X) ZOLVAR_SUITES(X)

// A tag type per table (CommandSuite1Tag ...) and the function that returns
// the table (commandSuite1Table ...), defined in the suite's source file.
#define STANDIN_DECLARE_SUITE(ACCESSOR, TYPE, NAME, VERSION) \
    STANDIN_SUITE(ACCESSOR##Tag, TYPE, NAME, VERSION);       \
    const TYPE* ACCESSOR##Table();
STANDIN_SUITE_LIST(STANDIN_DECLARE_SUITE)
#undef STANDIN_DECLARE_SUITE

} // namespace standin
