// Replays the settings fuzz target's seed corpus, and mutants of every seed
// made with a fixed seed, through the entry point with the project's own
// compiler. A failing input aborts the test with the target's message.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <random>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

QString corpusFolder()
{
    return QString::fromLocal8Bit(qgetenv("ZOLVAR_SOURCE_DIR")) + QStringLiteral("/tests/fuzz/settings/corpus");
}

QList<QByteArray> corpus()
{
    QList<QByteArray> seeds;
    const QDir dir(corpusFolder());
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files, QDir::Name)) {
        QFile file(info.filePath());
        if (file.open(QIODevice::ReadOnly))
            seeds << file.readAll();
    }
    return seeds;
}

int run(const QByteArray& input)
{
    return LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size()));
}

// Byte flips, cuts, repeated spans and hostile numbers spliced into
// attribute values.
QByteArray mutate(QByteArray input, std::mt19937& random)
{
    static const QByteArray hostile[] = {"nan", "-inf", "1e999", "-1", "abc", "2147483648", "-0", "1e-999",
                                         "65536", "\"", "<", "&amp;", "&#0;", "\xff\xfe"};
    const int steps = 1 + int(random() % 4);
    for (int step = 0; step < steps && !input.isEmpty(); ++step) {
        const int at = int(random() % uint32_t(input.size()));
        switch (random() % 5) {
        case 0:
            input[at] = char(random() % 256);
            break;
        case 1:
            input.truncate(at);
            break;
        case 2: {
            const int length = int(random() % 64);
            input.insert(at, input.mid(at, length));
            break;
        }
        case 3: {
            // Replace the value of the attribute around `at`.
            const int open = input.lastIndexOf('"', at);
            const int close = open >= 0 ? input.indexOf('"', open + 1) : -1;
            if (open >= 0 && close > open)
                input.replace(open + 1, close - open - 1, hostile[random() % std::size(hostile)]);
            break;
        }
        default:
            input.remove(at, int(random() % 128));
            break;
        }
    }
    return input;
}

} // namespace

TEST(SettingsFuzzReplay, EverySeedPasses)
{
    const QList<QByteArray> seeds = corpus();
    ASSERT_GE(seeds.size(), 20) << "corpus missing: " << corpusFolder().toStdString();
    for (const QByteArray& seed : seeds)
        EXPECT_EQ(run(seed), 0);
}

TEST(SettingsFuzzReplay, SeededMutantsPass)
{
    std::mt19937 random(20261207u);
    int runs = 0;
    for (const QByteArray& seed : corpus())
        for (int i = 0; i < 40; ++i, ++runs)
            EXPECT_EQ(run(mutate(seed, random)), 0);
    EXPECT_GT(runs, 0);
}

TEST(SettingsFuzzReplay, EdgeInputsPass)
{
    EXPECT_EQ(LLVMFuzzerTestOneInput(nullptr, 0), 0);
    EXPECT_EQ(run(QByteArray(1, '\0')), 0);
    EXPECT_EQ(run(QByteArray(600, '<')), 0);
    EXPECT_EQ(run(QByteArray("<ZolvarSettings>").repeated(2000)), 0);
}
