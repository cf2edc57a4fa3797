// Every input of every reader's fuzz corpus, seeds and the inputs that once
// failed alike, fed to the reader's harness as the fuzzer feeds it.

#include "fuzztargets.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace kntr::fuzz;

namespace kntr::fuzz {

/// Names the reader in test names and messages.
void PrintTo(const Target& target, std::ostream* os)
{
    *os << target.name;
}

} // namespace kntr::fuzz

namespace {

class FuzzCorpus : public ::testing::TestWithParam<Target>
{
};

TEST_P(FuzzCorpus, EveryInputIsReadWithoutFault)
{
    const Target& target = GetParam();
    const QDir dir(QStringLiteral(KNTR_FUZZ_CORPUS_DIR "/") + QLatin1String(target.name));
    const QStringList inputs = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(inputs.isEmpty()) << "no corpus in " << dir.path().toStdString();
    for (const QString& name : inputs) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_EQ(target.run(file.readAll()), "") << target.name << "/" << name.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Readers, FuzzCorpus, ::testing::ValuesIn(targets()),
                         [](const ::testing::TestParamInfo<Target>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
