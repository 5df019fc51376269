// Memory handles and persistent data.
#include "SuiteFixture.h"

#include <QFile>

#include <cstring>
#include <sys/stat.h>

using namespace standin;

namespace {

constexpr char kSection[] = "VH Zolvar 2";

std::u16string lockedText(const AEGP_MemorySuite1* memory, AEGP_MemHandle handle)
{
    void* data = nullptr;
    EXPECT_EQ(memory->AEGP_LockMemHandle(handle, &data), A_Err_NONE);
    return data ? std::u16string(static_cast<const char16_t*>(data)) : std::u16string();
}

class MemoryTest : public SuiteFixture
{
};

TEST_F(MemoryTest, HandlesHoldUtf16TextAndMayBeFreedWhileLocked)
{
    project_->setPath(QStringLiteral("/tmp/shot \u00e9.final.aep"));
    const AEGP_MemorySuite1* memory = suites_->MemorySuite1();
    AEGP_ProjectH projectH = nullptr;
    ASSERT_EQ(suites_->ProjSuite5()->AEGP_GetProjectByIndex(0, &projectH), A_Err_NONE);
    EXPECT_EQ(suites_->ProjSuite5()->AEGP_GetProjectByIndex(1, &projectH), A_Err_PARAMETER);
    suites_->ProjSuite5()->AEGP_GetProjectByIndex(0, &projectH);
    AEGP_MemHandle path = nullptr;
    ASSERT_EQ(suites_->ProjSuite5()->AEGP_GetProjectPath(projectH, &path), A_Err_NONE);

    EXPECT_EQ(lockedText(memory, path), u"/tmp/shot \u00e9.final.aep");
    void* first = nullptr;
    void* second = nullptr;
    memory->AEGP_LockMemHandle(path, &first);
    memory->AEGP_LockMemHandle(path, &second);
    EXPECT_EQ(first, second) << "repeated locks give the same pointer";
    AEGP_MemSize size = 0;
    ASSERT_EQ(memory->AEGP_GetMemHandleSize(path, &size), A_Err_NONE);
    EXPECT_EQ(size, (std::u16string(u"/tmp/shot \u00e9.final.aep").size() + 1) * 2);
    EXPECT_EQ(session_->leaks().memHandles, 1);

    EXPECT_EQ(memory->AEGP_FreeMemHandle(path), A_Err_NONE);
    EXPECT_EQ(memory->AEGP_FreeMemHandle(path), A_Err_PARAMETER) << "double free";
    EXPECT_EQ(memory->AEGP_LockMemHandle(path, &first), A_Err_PARAMETER);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(memory->AEGP_FreeMemHandle(reinterpret_cast<AEGP_MemHandle>(&size)), A_Err_PARAMETER);
    EXPECT_EQ(session_->leaks().memHandles, 0);
}

TEST_F(MemoryTest, UnlockBalancesLocks)
{
    AEGP_ItemH item = nullptr;
    suites_->ItemSuite8()->AEGP_GetActiveItem(&item);
    AEGP_MemHandle name = nullptr;
    suites_->ItemSuite8()->AEGP_GetItemName(kPluginId, item, &name);
    const AEGP_MemorySuite1* memory = suites_->MemorySuite1();
    EXPECT_EQ(memory->AEGP_UnlockMemHandle(name), A_Err_GENERIC);
    EXPECT_EQ(lockedText(memory, name), u"Main");
    EXPECT_EQ(memory->AEGP_UnlockMemHandle(name), A_Err_NONE);
    EXPECT_EQ(memory->AEGP_FreeMemHandle(name), A_Err_NONE);
}

TEST_F(MemoryTest, LayerNamesAreOwnNameOrEmptyPlusSourceName)
{
    Layer* named = addLayer(LayerKind::Solid, QStringLiteral("Box"));
    Layer* unnamed = addLayer(LayerKind::Solid);
    const AEGP_MemorySuite1* memory = suites_->MemorySuite1();
    AEGP_MemHandle own = nullptr, source = nullptr;
    ASSERT_EQ(suites_->LayerSuite7()->AEGP_GetLayerName(kPluginId, handle(named), &own, &source), A_Err_NONE);
    EXPECT_EQ(lockedText(memory, own), u"Box");
    EXPECT_EQ(lockedText(memory, source), u"Solid 1");
    memory->AEGP_FreeMemHandle(own);
    memory->AEGP_FreeMemHandle(source);
    ASSERT_EQ(suites_->LayerSuite7()->AEGP_GetLayerName(kPluginId, handle(unnamed), &own, &source), A_Err_NONE);
    EXPECT_EQ(lockedText(memory, own), u"");
    EXPECT_EQ(lockedText(memory, source), u"Solid 2");
    memory->AEGP_FreeMemHandle(own);
    memory->AEGP_FreeMemHandle(source);
}

class PrefsTest : public SuiteFixture
{
protected:
    const AEGP_PersistentDataSuite3* data() { return suites_->PersistentDataSuite3(); }
    AEGP_PersistentBlobH blob()
    {
        AEGP_PersistentBlobH b = nullptr;
        EXPECT_EQ(data()->AEGP_GetApplicationBlob(&b), A_Err_NONE);
        return b;
    }
    void seed(const char* text)
    {
        QFile file(QString::fromStdString(prefsPath()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        ASSERT_TRUE(session_->prefs().load());
    }
};

TEST_F(PrefsTest, ValuesSurviveInTheFileAndReadBack)
{
    AEGP_PersistentBlobH b = blob();
    EXPECT_EQ(blob(), b) << "one application blob";
    ASSERT_EQ(data()->AEGP_SetLong(b, kSection, "UI Theme", 2), A_Err_NONE);
    ASSERT_EQ(data()->AEGP_SetFpLong(b, kSection, "Selection Stroke Width", 0.1), A_Err_NONE);
    ASSERT_EQ(data()->AEGP_SetString(b, kSection, "Auto Saved Settings File", "/home/\u00e9/a=b.xml"), A_Err_NONE);

    PersistentStore reread(prefsPath());
    EXPECT_EQ(reread.value(kSection, "UI Theme").value_or(""), "2");
    EXPECT_EQ(reread.value(kSection, "Auto Saved Settings File").value_or(""), "/home/\u00e9/a=b.xml");

    ASSERT_TRUE(session_->prefs().load());
    A_long theme = 0;
    A_FpLong width = 0;
    EXPECT_EQ(data()->AEGP_GetLong(b, kSection, "UI Theme", 0, &theme), A_Err_NONE);
    EXPECT_EQ(theme, 2);
    EXPECT_EQ(data()->AEGP_GetFpLong(b, kSection, "Selection Stroke Width", 2.0, &width), A_Err_NONE);
    EXPECT_EQ(width, 0.1) << "doubles keep every bit";

    QFile file(QString::fromStdString(prefsPath()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("[VH Zolvar 2]\n"));
    EXPECT_TRUE(text.contains("\nUI Theme=2\n"));
}

TEST_F(PrefsTest, GettersGiveDefaultsWithoutWritingThemBack)
{
    AEGP_PersistentBlobH b = blob();
    A_long levels = 0;
    A_Boolean exists = 1;
    EXPECT_EQ(data()->AEGP_GetLong(b, kSection, "Levels of Undo", 100, &levels), A_Err_NONE);
    EXPECT_EQ(levels, 100);
    EXPECT_EQ(data()->AEGP_DoesKeyExist(b, kSection, "Levels of Undo", &exists), A_Err_NONE);
    EXPECT_FALSE(exists);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(prefsPath())));

    seed("[VH Zolvar 2]\nUI Theme=abc\nJoint Stroke Width=1.5\n");
    A_long theme = -1;
    EXPECT_EQ(data()->AEGP_GetLong(b, kSection, "UI Theme", 1, &theme), A_Err_NONE);
    EXPECT_EQ(theme, 1) << "an unparsable value reads as the default";
    EXPECT_EQ(data()->AEGP_DoesKeyExist(b, kSection, "UI Theme", &exists), A_Err_NONE);
    EXPECT_TRUE(exists);
    A_FpLong width = 0;
    data()->AEGP_GetFpLong(b, kSection, "Joint Stroke Width", 1.0, &width);
    EXPECT_EQ(width, 1.5);
}

TEST_F(PrefsTest, GetStringReportsTheFullSizeAndCutsAtACharacterBoundary)
{
    AEGP_PersistentBlobH b = blob();
    const std::string longPath = std::string(258, 'a') + "\u00e9z"; // 'é' spans bytes 258..259
    data()->AEGP_SetString(b, kSection, "Most Recent Loaded Settings File", longPath.c_str());

    char buffer[260];
    std::memset(buffer, 'x', sizeof buffer);
    A_u_long actual = 0;
    ASSERT_EQ(data()->AEGP_GetString(b, kSection, "Most Recent Loaded Settings File", nullptr, sizeof buffer, buffer,
                                     &actual),
              A_Err_NONE);
    EXPECT_EQ(actual, longPath.size() + 1);
    EXPECT_EQ(std::strlen(buffer), 258u) << "the two-byte character does not fit in 259 bytes";

    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(data()->AEGP_GetString(b, kSection, "Missing", nullptr, sizeof buffer, buffer, &actual), A_Err_NONE);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(actual, 1u);
    EXPECT_EQ(data()->AEGP_GetString(b, kSection, "Missing", "dflt", 0, nullptr, &actual), A_Err_NONE);
    EXPECT_EQ(actual, 5u);
    EXPECT_EQ(data()->AEGP_GetString(b, kSection, "Missing", "dflt", 3, buffer, &actual), A_Err_NONE);
    EXPECT_STREQ(buffer, "df");
}

TEST_F(PrefsTest, AwkwardKeysAndValuesRoundTripThroughTheFile)
{
    AEGP_PersistentBlobH b = blob();
    data()->AEGP_SetString(b, "odd]section", "#key=with=signs", "line1\nline2\\end");
    data()->AEGP_SetString(b, kSection, "[bracket", " spaced ");
    PersistentStore reread(prefsPath());
    EXPECT_EQ(reread.value("odd]section", "#key=with=signs").value_or(""), "line1\nline2\\end");
    EXPECT_EQ(reread.value(kSection, "[bracket").value_or(""), " spaced ");
    EXPECT_EQ(reread.values().size(), 2u);
}

TEST_F(PrefsTest, ReadsStopWhereAFailureIsInjected)
{
    session_->faults().failNth(kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3, 9, 2);
    AEGP_PersistentBlobH b = blob();
    A_long v = 0;
    EXPECT_EQ(data()->AEGP_GetLong(b, kSection, "UI Theme", 0, &v), A_Err_NONE);
    EXPECT_EQ(data()->AEGP_GetLong(b, kSection, "Levels of Undo", 100, &v), STANDIN_ERR_INJECTED);
    const auto reads = session_->log().calls("AEGP_GetLong");
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_NE(reads[0].arguments.find("\"UI Theme\""), std::string::npos);
    EXPECT_TRUE(reads[1].injected);
}

TEST_F(PrefsTest, AFileThatBecameAPipeIsNotWrittenOver)
{
    const std::string path = prefsPath();
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    EXPECT_EQ(data()->AEGP_SetLong(blob(), kSection, "UI Theme", 2), A_Err_GENERIC);
    struct stat info;
    EXPECT_TRUE(::stat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode));
}

} // namespace
