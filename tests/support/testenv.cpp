#include "testenv.h"

#include <gtest/gtest.h>

namespace kntr::test {

ScopedXdgHome::ScopedXdgHome()
    : mOldConfig(qgetenv("XDG_CONFIG_HOME"))
    , mOldData(qgetenv("XDG_DATA_HOME"))
{
    EXPECT_TRUE(mDir.isValid());
    qputenv("XDG_CONFIG_HOME", configHome().toLocal8Bit());
    qputenv("XDG_DATA_HOME", dataHome().toLocal8Bit());
}

ScopedXdgHome::~ScopedXdgHome()
{
    qputenv("XDG_CONFIG_HOME", mOldConfig);
    qputenv("XDG_DATA_HOME", mOldData);
}

} // namespace kntr::test
