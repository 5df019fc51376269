// UTF-16 texts taken from host memory handles: read up to the terminator or
// the end of the handle, and the handle always freed.
#include "StandinFixture.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/HostMemory.h"
#include "suites/SuiteContext.h"

namespace {

using testing_standin::Host;

const QByteArray kEmptyProject = R"({"format": "zolvar-standin-project", "compositions": []})";

TEST(HostMemory, TextsEndAtTheirZeroOrAtTheEndOfTheHandle)
{
    Host host(kEmptyProject, false);
    AEGP_SuiteHandler suites(host.session->basicSuite());
    standin::MemoryHandles& memory = host.session->context().memory;
    struct Row {
        AEGP_MemHandle handle;
        QString expected;
    } rows[] = {
        {memory.create(u"Circle \u00e9\u4e2d"), QStringLiteral("Circle \u00e9\u4e2d")},
        {memory.create(u""), QString()},
        {memory.createUnterminated(u"No zero"), QStringLiteral("No zero")},
        {memory.createUnterminated(u""), QString()},
    };
    for (const Row& row : rows) {
        QString text = QStringLiteral("stale");
        EXPECT_EQ(TakeUtf16String(suites, row.handle, text), A_Err_NONE);
        EXPECT_EQ(text, row.expected);
    }
    EXPECT_EQ(memory.live(), 0u) << "every handle is freed";
}

TEST(HostMemory, AFailedReadStillFreesTheHandle)
{
    Host host(kEmptyProject, false);
    AEGP_SuiteHandler suites(host.session->basicSuite());
    standin::MemoryHandles& memory = host.session->context().memory;
    for (int slot : {2, 4}) {
        host.session->faults().failNth(kAEGPMemorySuite, standin::FaultInjector::kAnyVersion, slot, 1);
        QString text;
        EXPECT_NE(TakeUtf16String(suites, memory.create(u"Name"), text), A_Err_NONE) << "slot " << slot;
        EXPECT_TRUE(text.isEmpty());
        EXPECT_EQ(memory.live(), 0u) << "slot " << slot;
        host.session->faults().clear();
    }
}

} // namespace
