#pragma once

// A test suite that plays real sound: one private sound server and one
// application object for all its tests.

#include "nullsinkserver.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <string>

namespace kntr::test {

class SoundServerSuite : public ::testing::Test {
protected:
    /// Starts the server, then the application object (named name) that every
    /// test of the suite shares; the ffmpeg media backend, as the program uses,
    /// is chosen before Qt loads one.
    static void startSuite(const char* name)
    {
        server = new NullSinkServer;
        QString why;
        serverUp = server->start(why);
        serverProblem = why.toStdString();
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
        static int argc = 1;
        static std::string appName;
        appName = name;
        static char* argv[] = {appName.data(), nullptr};
        static QCoreApplication app(argc, argv);
    }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }

    static inline NullSinkServer* server = nullptr;
    static inline bool serverUp = false;
    static inline std::string serverProblem;
};

} // namespace kntr::test
